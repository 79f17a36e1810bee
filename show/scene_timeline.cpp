#include "show/scene_timeline.h"

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "assets/draw_trace.h"
#include "platform/crt_rand.h"
#include "show/scene_module.h"
#include "timing/time_map.h"

const SceneAct ACTS[SCENE_ACT_COUNT] = {
    {0, "the sea"},
    {13, "hammers and angels"},
    {41, "the table"},
    {73, "the parade"},
    {89, "the empty room"},
    {97, "the cave and the forest"},
    {121, "the stage"},
    {161, "the second cave"},
    {169, "the grid wall"},
    {209, "the ascent"},
};

float actRawStart(int index) {
    static const std::array<float, SCENE_ACT_COUNT> starts = [] {
        std::array<float, SCENE_ACT_COUNT> found{};
        const TimeMap& map = showTimeMap();
        for (int act = 0; act < SCENE_ACT_COUNT; ++act) {
            int i = 0;
            while (i < TimeMap::ENTRIES - 1 &&
                   !(map.sceneTime[i] >= ACTS[act].sceneStart && map.flags[i] != TIME_MAP_REPLAYED))
                ++i;
            found[act] = i / 1000.0f;
        }
        return found;
    }();
    return index < 0 ? 0.0f : starts[std::min(index, SCENE_ACT_COUNT - 1)];
}

int actAtSceneTime(float t) {
    int act = 0;
    while (act + 1 < SCENE_ACT_COUNT && t >= ACTS[act + 1].sceneStart) ++act;
    return act;
}

static void prologue(SceneFrame& f) {
    SpriteState& sprite = f.sprite;
    sprite.clipProgram.use();
    sprite.clipProgram.setFloat("pass", 0);
    f.objectProgram.use();
    f.objectProgram.setFloat("ttime", f.t);
    f.objectProgram.setControls(f.k);
    f.objectProgram.setFloat("pass", 0);

    // Alpha 0 where nothing is drawn, so the post-process can tell empty paper.
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sprite.ittime = std::trunc(f.t * 10) / 10;
    sprite.ttime = f.t;
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    ShaderProgram::unuse();
    sprite.k0 = f.k[0];
    sprite.k1 = f.k[1];
    sprite.k2 = f.k[2];
    sprite.k3 = f.k[3];
    sprite.k4 = f.k[4];
    sprite.k5 = f.k[5];
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

// Groups 37 to 60 sit inside one test of the scene time in the show's order.
static bool heldForTheStage(const SceneGroup& group, float t) {
    return group.number >= 37 && group.number <= 60 && !(t >= 89);
}

void drawScenes(SceneFrame& f) {
    prologue(f);
    bool outerPopped = false;
    for (const SceneGroup& group : currentSceneTable()) {
        if (drawTrace) drawTrace->group = group.number;
        if (!heldForTheStage(group, f.t)) group.draw(f);
        if (drawTrace) drawTrace->generatorAfterGroup.push_back(crtState());
        if (group.number == 1) f.sprite.Mode = 2;  // the warm light of the opening acts
        if (group.number == 21 && !outerPopped) {
            f.sprite.Mode = 1;
            glPopMatrix();  // the outer transform: later groups stand in the frame's own view
            outerPopped = true;
        }
    }
    if (!outerPopped) glPopMatrix();  // a reloaded table without group 21
    if (drawTrace) drawTrace->group = 0;
    ShaderProgram::unuse();
    glDisable(GL_TEXTURE_2D);
}
