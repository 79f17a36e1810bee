// offline_show.h - the show loaded without the launcher, MIDI or music, for
// the tools that render it (trace, capture), the tests and the benchmarks.
//
//   if (!useShowData("torvanel-trace", verbose)) return 1;  // one line said why
//   if (!openShowWindow(1280, 720)) ...     // false without a display or EGL
//   Part_Clips* part = newShowPart();
//   part->init();                           // the whole show, as startShow loads it
//   setRawTime(*part, 37.484f); part->draw();
//   cv::Mat frame = readShowFrame();        // the finished frame, top row first
//   int error = writeFramePng("f.png", frame);  // whole or not at all
#pragma once
#include <opencv2/core.hpp>
#include <string>

#include "show/part_clips.h"

// Reads the data from where findDataDir finds it, without changing the
// working folder, and keeps the loading log only when `verbose`. False, after
// one line on standard error naming the folders looked in, when there is none.
bool useShowData(const char* program, bool verbose);

// The show window (not full-screen), the loading screen and the render
// targets: the state startShow reaches just before the parts load. With
// SDL_VIDEODRIVER=offscreen it needs no X server.
bool openShowWindow(int width, int height);

// A clips part wired to the application's window, targets and inputs.
Part_Clips* newShowPart();

// The window's back buffer as 8-bit B, G, R, the top row first.
cv::Mat readShowFrame();

// The frame as a fast-compressed PNG, written under a temporary name and
// renamed: 0, or the errno of what failed (nothing is then left at `path`).
int writeFramePng(const std::string& path, const cv::Mat& frame);
