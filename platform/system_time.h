// system_time.h - clock and sleep in the units the show counts in.
#pragma once
#include <cstdint>

// Monotonic time in 100-nanosecond ticks.
int64_t systemTicks();

void sleepMilliseconds(uint32_t ms);

struct DesktopRect { int left, top, right, bottom; };

// Bounds of the first display; SDL's video subsystem must be initialised.
// Falls back to 1920 x 1080 when SDL cannot tell.
DesktopRect desktopRect();
