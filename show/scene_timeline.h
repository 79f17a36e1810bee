// scene_timeline.h - the show's scenes: everything drawn into the scene
// target for one frame, as a function of the scene time.
#pragma once
#include "show/scene_frame.h"

// Draws one frame's scenes into the bound scene target (three outputs).
// Leaves no program in use and 2D texturing off.
void drawScenes(SceneFrame& frame);
