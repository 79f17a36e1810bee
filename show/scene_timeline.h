// scene_timeline.h - the show's scene table and the frame around it.
//
// The show is one fixed sequence of 62 scene groups, all run every frame in
// table order; each draws when the scene time lies in its own window, so the
// picture is a pure function of the scene time. Table order is both draw
// order and random-generator order: a group's fixed layouts depend on the
// generator calls made before it, so no group may be skipped or moved.
#pragma once
#include "show/scene_frame.h"
#include "timing/time_map.h"

struct SceneGroup {
    int number;  // 1..62, the table's numbering
    const char* name;
    void (*draw)(SceneFrame& frame);
};

constexpr int SCENE_GROUP_COUNT = 62;
extern const SceneGroup SCENE_GROUPS[SCENE_GROUP_COUNT];

// The acts a viewer tells apart: stretches of scene time, each from its
// start to the next act's start (the last to the show's end).
struct ShowAct {
    const char* name;
    float sceneStart;  // seconds of scene time
};

constexpr int ACT_COUNT = 10;
extern const ShowAct ACTS[ACT_COUNT];

// The first raw millisecond at which the map reaches the act's scene start
// outside a replayed stretch (flag 1): replays return to earlier scene times
// without starting their act again.
int actRawStartMs(const TimeMap& map, int act);

// Draws one frame's scenes into the bound scene target (three outputs): the
// prologue, every group in table order, the epilogue. Leaves no program in
// use and 2D texturing off.
void drawScenes(SceneFrame& frame);
