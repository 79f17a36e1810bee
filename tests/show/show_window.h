// show_window.h - the show as startShow leaves it just before the parts load:
// the show window, the loading screen and the render targets; then a clips
// part wired to them. Shared by the set-up test and the loading benchmark.
//
//   if (!openShowWindow(1280, 720)) ...   // false without a display
//   Part_Clips* part = newShowPart();
//   part->init();
#pragma once
#include "app/app_state.h"
#include "show/part_clips.h"
#include "show/part_loader.h"

inline bool openShowWindow(int width, int height) {
    AppState& state = appState;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return false;
    state.window.Init(0, 0, width, height, false);
    if (!state.window.context) return false;
    state.loader = newZeroedPart<Part_Loader>();
    prepareShow(state);
    state.live._kz = -1;  // as every finished frame leaves it
    return true;
}

inline Part_Clips* newShowPart() {
    Part_Clips* part = newZeroedPart<Part_Clips>();
    part->app = &appState.partApp;
    part->live = &appState.live;
    return part;
}
