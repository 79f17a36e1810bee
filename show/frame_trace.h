// frame_trace.h - single frames of the clips part at chosen times, drawn
// with the draw trace on: what the trace tool and the scene tests run.
//
//   setRawTime(part, 37.484f);                 // the part's own advance step
//   std::string header = frameHeaderJson(part);
//   for (const DrawCall& call : traceFrame(part).calls) ...
//
// The part must be loaded (Part_Clips::init, or its pictures and programs)
// and its app and live pointers set.
#pragma once
#include <string>
#include <vector>

#include "assets/draw_trace.h"
#include "show/part_clips.h"

// The part at raw time `raw`: the time map filled as a running show has it,
// then the advance step with a frame time of 0.
void setRawTime(Part_Clips& part, float raw);

// The part at a scene time and flag directly; its raw time is set to the
// scene time (no raw time maps to some scene times, 9 and 13 among them).
void setSceneTime(Part_Clips& part, float scene, int flag);

// {"raw": R, "scene": S, "flag": F, "eye": [x, y, z], "center": [x, y, z]},
// the eye and centre from the camera script.
std::string frameHeaderJson(const Part_Clips& part);

// Draws the part's frame with a trace on and returns what was recorded: the
// drawers' calls in order and the values the groups set on programs. At a
// scene time of 273 or more it draws nothing (the draw step would end the
// process) and returns an empty trace.
DrawTrace traceFrame(Part_Clips& part);

// What the two mesh targets hold: the step (raw time-map entry, or scene
// millisecond) of the frame that last drew into each; -1 when unknown.
struct MeshTargetContent {
    int a = -1, b = -1;
};

// Makes the frame at raw time `raw` a pure function of that time before the
// caller draws it: each mesh target that no group draws into at that time is
// given the figure of the last raw millisecond before it at which a group
// did, by drawing that frame first (untraced, unseen) unless `content` says
// the target holds it already. Leaves the part at `raw`, and `content` as the
// caller's frame will leave the targets.
void primeMeshTargets(Part_Clips& part, float raw, MeshTargetContent& content);
// The same for a frame given by scene time, stepping back in scene time.
void primeMeshTargetsForScene(Part_Clips& part, float scene, int flag, MeshTargetContent& content);
