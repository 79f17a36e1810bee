// scene_timeline.h - the show's scene table and the frame around it.
//
// The show is one fixed sequence of 62 scene groups, all run every frame in
// table order; each draws when the scene time lies in its own window, so the
// picture is a pure function of the scene time. Table order is both draw
// order and random-generator order: a group's fixed layouts depend on the
// generator calls made before it, so no group may be skipped or moved.
#pragma once
#include "show/scenes/scene_frame.h"

struct SceneGroup {
    int number;  // 1..62, the table's numbering
    const char* name;
    void (*draw)(SceneFrame& frame);
};

constexpr int SCENE_GROUP_COUNT = 62;
// The table as linked into the program (scene_table.cpp); a reloaded scene
// module brings its own copy (scene_module.h).
extern const SceneGroup SCENE_GROUPS[SCENE_GROUP_COUNT];

// The show's acts in order: where each begins in scene time, and its name.
struct SceneAct {
    float sceneStart;
    const char* name;
};
constexpr int SCENE_ACT_COUNT = 10;
extern const SceneAct ACTS[SCENE_ACT_COUNT];

// The raw time at which act `index` starts playing: the first raw millisecond
// whose time-map entry reaches the act's scene start outside a replayed
// stretch (the map replays 141-145 and 233-265 and skips 145-149, so scene
// time alone does not say where).
float actRawStart(int index);
// The act that scene time t belongs to (the last whose start it has reached).
int actAtSceneTime(float t);

// Draws one frame's scenes into the bound scene target (three outputs): the
// prologue, every group of the current table (currentSceneTable) in order,
// the epilogue. Leaves no program in use and 2D texturing off.
void drawScenes(SceneFrame& frame);
