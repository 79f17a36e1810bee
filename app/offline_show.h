// offline_show.h - the show loaded without the launcher, MIDI or music, for
// the tools that render it (trace, capture), the tests and the benchmarks.
//
//   if (!openShowWindow(1280, 720)) ...     // false without a display or EGL
//   Part_Clips* part = newShowPart();
//   part->init();                           // the whole show, as startShow loads it
//   setRawTime(*part, 37.484f); part->draw();
//   cv::Mat frame = readShowFrame();        // the finished frame, top row first
#pragma once
#include <opencv2/core.hpp>

#include "show/part_clips.h"

// The show window (not full-screen), the loading screen and the render
// targets: the state startShow reaches just before the parts load. With
// SDL_VIDEODRIVER=offscreen it needs no X server.
bool openShowWindow(int width, int height);

// A clips part wired to the application's window, targets and inputs.
Part_Clips* newShowPart();

// The window's back buffer as 8-bit B, G, R, the top row first.
cv::Mat readShowFrame();
