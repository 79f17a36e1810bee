// clips_frame.h - one frame of the clips part, in the order draw runs it:
// the time map filled, the show's end, the camera, the scenes into the scene
// target, the post-process pass and the final pass to the window.
//
// The steps around the scenes are open to the tools and benchmarks that
// draw a frame piece by piece:
//
//   placeClipsCamera(part);
//   SceneFrame frame = clipsSceneFrame(part);  // bind the scene target, then
//   drawScenes(frame);
//   postProcessPass(part);
//   finalPass(part);
#pragma once
#include "show/part_clips.h"
#include "show/scenes/scene_frame.h"

// The script's view at the part's scene time; keeps the matrices.
void placeClipsCamera(Part_Clips& part);
// What the scene groups read and draw with this frame.
SceneFrame clipsSceneFrame(Part_Clips& part);
// The resolved scene target through postProgram, in place.
void postProcessPass(Part_Clips& part);
// The scene target through finalProgram to the window.
void finalPass(Part_Clips& part);
