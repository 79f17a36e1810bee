#include "platform/system_time.h"

#include <SDL.h>
#include <chrono>

int64_t systemTicks() {
    using Ticks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;
    return std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void sleepMilliseconds(uint32_t ms) { SDL_Delay(ms); }

DesktopRect desktopRect() {
    SDL_Rect r;
    if (SDL_GetDisplayBounds(0, &r) != 0) return {0, 0, 1920, 1080};
    return {r.x, r.y, r.x + r.w, r.y + r.h};
}
