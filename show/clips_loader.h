// clips_loader.h - the clips part's set-up, in the order init runs it:
//
//   loadClipsPictures(part);  // paper, patterns, thorn, the 96 cut-outs
//   loadClipsFigures(part);   // the six mesh sequences
//   part.buildShaders();      // the five programs
//
// Tools and tests that need only part of the show call the steps they need.
// Main thread only: every step uploads to the GL.
#pragma once
#include "show/part_clips.h"

void loadClipsPictures(Part_Clips& part);
// Decoded on worker threads, uploaded here as each frame is ready.
void loadClipsFigures(Part_Clips& part);
