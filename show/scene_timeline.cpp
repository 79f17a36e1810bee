#include "show/scene_timeline.h"

#include <GL/glew.h>
#include <cmath>

#include "assets/draw_trace.h"
#include "platform/crt_rand.h"
#include "show/scenes/scene_groups.h"

const SceneGroup SCENE_GROUPS[SCENE_GROUP_COUNT] = {
    {1, "logo", groupLogo},
    {2, "back wall", groupBackWall},
    {3, "empty room", groupEmptyRoom},
    {4, "cave", groupCave},
    {5, "stage", groupStage},
    {6, "second cave", groupSecondCave},
    {7, "grid wall", groupGridWall},
    {8, "tiled wall", groupTiledWall},
    {9, "moon stage", groupMoonStage},
    {10, "bird", groupBird},
    {11, "old man", groupOldMan},
    {12, "vice and skull", groupViceAndSkull},
    {13, "horse and cutlery", groupHorseAndCutlery},
    {14, "cutlery at the front", groupCutleryAtFront},
    {15, "forks and fruit rows", groupForksAndFruitRows},
    {16, "fish shoal", groupFishShoal},
    {17, "muscles with fruit", groupMusclesWithFruit},
    {18, "hammers", groupHammers},
    {19, "hand lowered", groupHandLowered},
    {20, "hand sliding in", groupHandSlidingIn},
    {21, "hand rows", groupHandRows},
    {22, "fruit bob", groupFruitBob},
    {23, "angel rows", groupAngelRows},
    {24, "angels of the opening", groupAngelsOpening},
    {25, "angels mirrored", groupAngelsMirrored},
    {26, "sea", groupSea},
    {27, "picture frame", groupPictureFrame},
    {28, "television", groupTelevision},
    {29, "type breaking", groupTypeBreaking},
    {30, "skull rows", groupSkullRows},
    {31, "fish carrying cutlery", groupFishCarryingCutlery},
    {32, "figure into target A", groupFigureIntoTargetA},
    {33, "figure into target B", groupFigureIntoTargetB},
    {34, "first figure", groupFirstFigure},
    {35, "figures on ropes", groupFiguresOnRopes},
    {36, "parade", groupParade},
    {37, "moon strip", groupMoonStrip},
    {38, "forest trees", groupForestTrees},
    {39, "forest muscles", groupForestMuscles},
    {40, "fish swimming past", groupFishSwimmingPast},
    {41, "curtain pair", groupCurtainPair},
    {42, "curtains in depth", groupCurtainsInDepth},
    {43, "umbrellas", groupUmbrellas},
    {44, "axes", groupAxes},
    {45, "walk across", groupWalkAcross},
    {46, "three figures", groupThreeFigures},
    {47, "saw", groupSaw},
    {48, "bees", groupBees},
    {49, "figure on a rope", groupFigureOnRope},
    {50, "fall", groupFall},
    {51, "skull cracks", groupSkullCracks},
    {52, "ascent", groupAscent},
    {53, "fade", groupFade},
    {54, "grid wall ribbons", groupGridWallRibbons},
    {55, "nails and hammers", groupNailsAndHammers},
    {56, "muscles marching", groupMusclesMarching},
    {57, "sea and old men", groupSeaAndOldMen},
    {58, "viola", groupViola},
    {59, "hammers and nails", groupHammersAndNails},
    {60, "tears", groupTears},
    {61, "hanged figure", groupHangedFigure},
    {62, "two figures", groupTwoFigures},
};

const ShowAct ACTS[ACT_COUNT] = {
    {"sea in the frame", 0},  {"bird and old man", 13}, {"the table", 41},   {"parade", 73},
    {"empty room", 89},       {"cave and forest", 97},  {"stage", 121},      {"second cave", 161},
    {"grid wall", 169},       {"ascent", 209},
};

int actRawStartMs(const TimeMap& map, int act) {
    float start = ACTS[act].sceneStart;
    int entries = map.seconds * 1000;
    for (int i = 0; i < entries; i++)
        if (map.flags[i] != 1 && map.sceneTime[i] >= start) return i;
    return entries;
}

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

// Groups 37 to 60 sit inside one test of the scene time in the show's order.
static bool heldForTheStage(const SceneGroup& group, float t) {
    return group.number >= 37 && group.number <= 60 && !(t >= 89);
}

void drawScenes(SceneFrame& f) {
    prologue(f);
    for (const SceneGroup& group : SCENE_GROUPS) {
        if (drawTrace) drawTrace->group = group.number;
        if (!heldForTheStage(group, f.t)) group.draw(f);
        if (group.number == 1) f.registry.Mode = 2;  // the warm light of the opening acts
        if (group.number == 21) {
            f.registry.Mode = 1;
            glPopMatrix();  // the outer transform: later groups stand in the frame's own view
        }
    }
    if (drawTrace) drawTrace->group = 0;
    ShaderProgram::unuse();
    glDisable(GL_TEXTURE_2D);
}
