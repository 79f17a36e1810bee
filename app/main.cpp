// The show's entry: launcher window, show window, loading, main loop.
// The process ends only through exit(0): Escape, closing the window, or the
// show reaching its end; or at the start, with status 1 and one line on
// standard error, when it finds no data or cannot open a window.
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "app/advance_show.h"
#include "app/app_state.h"
#include "app/desk.h"
#include "app/events.h"
#include "app/launcher_menu.h"
#include "midi/surface_lights.h"
#include "platform/console.h"
#include "platform/data_dir.h"
#include "platform/huge_pages.h"
#include "platform/system_time.h"
#include "show/part_clips.h"
#include "show/part_loader.h"
#include "show/scene_module.h"

// The show reads "Resources//" from its working folder: the data folder
// findDataDir finds (an installed show starts anywhere) becomes that folder.
static bool enterDataFolder() {
    DataSearch data = findDataDir();
    if (data.dir.empty()) {
        fprintf(stderr, "%s\n", missingDataLine("torvanel", data).c_str());
        return false;
    }
    if (chdir(data.dir.c_str()) != 0) {
        perror(("torvanel: cannot change to " + data.dir).c_str());
        return false;
    }
    return true;
}

// Without a display SDL gives no window, or falls back to a window nobody
// sees (its offscreen driver, unless asked for by SDL_VIDEODRIVER): either
// way the launcher would wait forever for a click.
static bool windowOpened(const TGLWindow& window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    bool invisible = driver && !getenv("SDL_VIDEODRIVER") &&
                     (strcmp(driver, "offscreen") == 0 || strcmp(driver, "dummy") == 0);
    if (window.window && window.context && !invisible) return true;
    fprintf(stderr, "torvanel: cannot open a window (%s): start it on a desktop, or set DISPLAY\n",
            invisible ? "no display" : SDL_GetError());
    return false;
}

int main(int argc, char** argv) {
    restartWithHugePages(argv);
    AppState& state = appState;
    if (!enterDataFolder()) return 1;
    consoleApplyArguments(argc);  // exactly one argument keeps standard output

    state.width = 1920;
    state.height = 1080;
    state.fullscreen = false;

    // The launcher, centred on the desktop (SDL needs its video part for that).
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    DesktopRect desktop = desktopRect();
    state.window.Init(static_cast<int>(desktop.right * 0.5f - 190.0f), static_cast<int>(desktop.bottom * 0.5f - 105.0f),
                      380, 240, false);
    if (!windowOpened(state.window)) return 1;
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
    if (!windowOpened(state.window)) return 1;

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
    startDesk(state);
    watchSceneModule(builtSceneModulePath());  // "" unless built with scene reloading
    SurfaceLights lights;
    openSurfaceLights(lights);

    while (state.running) {
        handleEvents(state);
        checkSceneModule();  // at the frame boundary, before the show advances
        beginDeskFrame(state);
        advanceShow(state);
        // One pause for the surface and the keys; a mark stored from either
        // (the clock rule stores the time while REC is held).
        const DeskTransport& desk = state.desk.transport;
        updateSurfaceLights(lights, deskPaused(&state.controls), desk.looping,
                            desk.markStored || state.controls.value(NANO_KONTROL2_BUTTON_REC) > 1,
                            SDL_GetTicks64() / 1000.0);
        finishFrame(state);
        endDeskFrame(state);
        SDL_GL_SwapWindow(state.window.window);
    }
    return 0;
}
