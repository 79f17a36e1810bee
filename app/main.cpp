// The show's entry: launcher window, show window, loading, main loop.
// The process ends only through exit(0): Escape, closing the window, or the
// show reaching its end.
#include <SDL.h>

#include <cmath>
#include <cstdlib>

#include "app/advance_show.h"
#include "app/app_state.h"
#include "app/events.h"
#include "app/launcher_menu.h"
#include "midi/surface_lights.h"
#include "platform/console.h"
#include "platform/system_time.h"
#include "show/part_clips.h"
#include "show/part_loader.h"
#include "show/scene_module.h"

int main(int argc, char** argv) {
    (void)argv;
    AppState& state = appState;
    consoleApplyArguments(argc);  // exactly one argument keeps standard output

    state.width = 1920;
    state.height = 1080;
    state.fullscreen = false;

    // The launcher, centred on the desktop (SDL needs its video part for that).
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    DesktopRect desktop = desktopRect();
    state.window.Init(static_cast<int>(desktop.right * 0.5f - 190.0f), static_cast<int>(desktop.bottom * 0.5f - 105.0f),
                      380, 240, false);
    do {
        handleEvents(state);
        runLauncherFrame(state);
        SDL_GL_SwapWindow(state.window.window);
        sleepMilliseconds(30);
    } while (!state.menu.done);
    SDL_GL_DeleteContext(state.window.context);
    SDL_DestroyWindow(state.window.window);

    resolutionForChoice(state.menu.rows[MENU_RESOLUTION].choice, &state.width, &state.height);
    int x = 100, y = 140;
    state.fullscreen = state.menu.rows[MENU_MODE].choice == 0;
    if (state.fullscreen) x = y = 0;
    state.window.Init(x, y, state.width, state.height, state.fullscreen);

    state.loader = newZeroedPart<Part_Loader>();
    state.loader->app = &state.partApp;
    state.parts.push_back(newZeroedPart<Part_Clips>());

    startShow(state);
    // End-to-end tests start the clock late: TORVANEL_START_RAW_TIME (raw show
    // seconds) sets every part's time once. Unset, the show starts at 0.
    if (const char* start = std::getenv("TORVANEL_START_RAW_TIME")) {
        float raw = std::strtof(start, nullptr);
        if (std::isfinite(raw))
            for (Part* part : state.parts) part->time = raw;
    }
    SDL_ShowCursor(0);
    watchSceneModule(builtSceneModulePath());  // "" unless built with scene reloading
    SurfaceLights lights;
    openSurfaceLights(lights);

    while (state.running) {
        handleEvents(state);
        checkSceneModule();  // at the frame boundary, before the show advances
        advanceShow(state);
        // The surface's own pause and mark (the clock rule stores the time
        // while REC is held); no loop yet.
        updateSurfaceLights(lights, state.controls.toggle(NANO_KONTROL2_BUTTON_FOWARD) != 0, false,
                            state.controls.value(NANO_KONTROL2_BUTTON_REC) > 1, SDL_GetTicks64() / 1000.0);
        finishFrame(state);
        SDL_GL_SwapWindow(state.window.window);
    }
    return 0;
}
