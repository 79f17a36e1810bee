#include "app/events.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "platform/process_exit.h"
#include "platform/system_time.h"

float clampedFrameTime(int64_t nowTicks, int64_t lastTicks) {
    float seconds = static_cast<float>(static_cast<double>(nowTicks - lastTicks) / 10000000.0);
    return seconds > 0.35f ? 0.05f : seconds;
}

void handleEvents(AppState& state) { handleEventsAt(state, systemTicks()); }

void handleEventsAt(AppState& state, int64_t nowTicks) {
    LiveInputs& live = state.live;
    // The sample is where the pointer stood when the last frame's events were
    // read; the events below bring it up to date and count every press, so a
    // click that comes and goes between two frames is not lost.
    Uint32 buttons = SDL_GetMouseState(&live.mouseX, &live.mouseY);
    live.leftButton = (buttons & SDL_BUTTON_LMASK) != 0;
    live.leftPresses = 0;

    live.frameTime = clampedFrameTime(nowTicks, state.lastTicks);
    state.lastTicks = nowTicks;

    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_CLOSE) exitProcess(0);
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                    state.windowExposed = true;
                break;
            case SDL_QUIT:  // Ctrl-C in the terminal, or the window manager closing the last window
                exitProcess(0);
            case SDL_KEYDOWN: {
                int scancode = event.key.keysym.scancode;
                printf("KEY: %d\n", scancode);
                if (scancode >= 0 && scancode < KEY_COUNT) live.keys[scancode] = true;
                if (event.key.keysym.sym == SDLK_ESCAPE) exitProcess(0);
                handleDeskKey(state, scancode, (event.key.keysym.mod & KMOD_CTRL) != 0, event.key.repeat != 0);
                break;
            }
            case SDL_KEYUP: {
                int scancode = event.key.keysym.scancode;
                if (scancode >= 0 && scancode < KEY_COUNT) live.keys[scancode] = false;
                break;
            }
            case SDL_MOUSEMOTION:
                live.mouseX = event.motion.x;
                live.mouseY = event.motion.y;
                live.leftButton = (event.motion.state & SDL_BUTTON_LMASK) != 0;
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                live.mouseX = event.button.x;
                live.mouseY = event.button.y;
                if (event.button.button != SDL_BUTTON_LEFT) break;
                live.leftButton = event.type == SDL_MOUSEBUTTONDOWN;
                if (live.leftButton) ++live.leftPresses;
                break;
            default:
                break;
        }
    }
}
