#include "show/scene_timeline.h"

#include <GL/glew.h>
#include <cmath>

#include "platform/crt_rand.h"

static void prologue(SceneFrame& f) {
    TextureRegistry& registry = f.registry;
    registry.clipProgram.use();
    registry.clipProgram.setFloat("pass", 0);
    f.objectProgram.use();
    f.objectProgram.setFloat("ttime", f.t);
    f.objectProgram.setControls(f.k);
    f.objectProgram.setFloat("pass", 0);

    // Alpha 0 where nothing is drawn, so the post-process can tell empty paper.
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    registry.ittime = std::trunc(f.t * 10) / 10;
    registry.ttime = f.t;
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    ShaderProgram::unuse();
    registry.k0 = f.k[0];
    registry.k1 = f.k[1];
    registry.k2 = f.k[2];
    registry.k3 = f.k[3];
    registry.k4 = f.k[4];
    registry.k5 = f.k[5];
    // Every frame starts the scenes' random layouts from the same seed.
    crtSrand(42342);
    crtSrand(4234);

    // The opening acts (groups 1 to 21) are drawn in this outer transform.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glScalef(2, 2, 1);
    glColor3f(1, 1, 1);
    glTranslatef(0.048f, 0.1f, -0.228f);
}

void drawScenes(SceneFrame& f) {
    prologue(f);
    glPopMatrix();
    ShaderProgram::unuse();
    glDisable(GL_TEXTURE_2D);
}
