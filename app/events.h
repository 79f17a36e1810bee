// events.h - the first step of every frame: frame time, mouse (pointer, left
// button, presses since the last frame), held keys.
//
// Keys are not bound to actions here; the parts that react to keys read the
// table. Escape or closing the window ends the process with status 0.
#pragma once
#include <cstdint>

struct AppState;

// Frame times above 0.35 s (a stall, a breakpoint) count as 0.05 s.
float clampedFrameTime(int64_t nowTicks, int64_t lastTicks);

void handleEvents(AppState& state);

// handleEvents with the clock reading given, for tests.
void handleEventsAt(AppState& state, int64_t nowTicks);
