#include "show/scenes.h"

#include <GL/glew.h>
#include <cmath>

#include "app/app_state.h"
#include "platform/crt_rand.h"
#include "show/part_clips.h"

void drawScenes(Part_Clips& part) {
    float t = part.time;
    LiveInputs& live = *part.live;
    TextureRegistry& registry = part.registry;

    registry.clipProgram.use();
    registry.clipProgram.setFloat("pass", 0);
    part.objectProgram.use();
    part.objectProgram.setFloat("ttime", t);
    const float k[6] = {live._k0, live._k1, live._k2, live._k3, live._k4, live._k5};
    part.objectProgram.setControls(k);
    part.objectProgram.setFloat("pass", 0);

    // Alpha 0 where nothing is drawn, so the post-process can tell empty paper.
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    registry.ittime = std::trunc(t * 10) / 10;
    registry.ttime = t;
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    ShaderProgram::unuse();
    registry.k0 = k[0];
    registry.k1 = k[1];
    registry.k2 = k[2];
    registry.k3 = k[3];
    registry.k4 = k[4];
    registry.k5 = k[5];
    // Every frame starts the scenes' random layouts from the same seed.
    crtSrand(42342);
    crtSrand(4234);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glScalef(2, 2, 1);
    glColor3f(1, 1, 1);
    glTranslatef(0.048f, 0.1f, -0.228f);
    // The opening acts are drawn in this outer transform.
    glPopMatrix();

    ShaderProgram::unuse();
    glDisable(GL_TEXTURE_2D);
}
