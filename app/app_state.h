// app_state.h - the one application record everything hangs from, and the
// start sequence and frame end that the driver runs.
//
// It has static storage (see `appState`), so the launcher rows and the
// control surface exist before main starts. Parts see only its partApp and
// live members.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/desk.h"
#include "app/gl_window.h"
#include "app/launcher_menu.h"
#include "midi/nano_kontrol2.h"
#include "render/render_target.h"
#include "show/live_inputs.h"
#include "show/part.h"

class Part_Loader;

// Indices into AppState::targets.
enum RenderTargetIndex {
    TARGET_FULL = 0,        // W x H, no multisampling
    TARGET_QUARTER = 1,     // W/4 x H/4, no multisampling
    TARGET_SCENE_1 = 2,     // scene targets 1 to 4: W x H, 4 samples
    TARGET_SCENE_2 = 3,
    TARGET_SCENE_3 = 4,
    TARGET_SCENE_4 = 5,
    TARGET_QUARTER_MS = 6,  // W/4 x H/4, 4 samples
    TARGET_SQUARE = 7,      // 1024 x 1024, no multisampling
    TARGET_COUNT = 8
};

struct AppState {
    int width = 1920;
    int height = 1080;
    bool fullscreen = false;
    TGLWindow window = {nullptr, nullptr, nullptr, 0, 1.0f, 0};
    std::vector<Part*> parts;  // the show's parts in order; owns nothing
    Part_Loader* loader = nullptr;  // the loading screen; never in parts
    LiveInputs live;
    bool running = true;  // the main loop's condition; nothing clears it (the show ends by exiting)
    int64_t lastTicks = 0;  // previous frame's time, 100-ns ticks
    MyNanoKONTROL2 controls;
    LauncherMenu menu = makeLauncherMenu();
    float showClock = 0;  // seconds of frame time since the start
    RenderTarget targets[TARGET_COUNT] = {};
    int activePart = 0;
    uint32_t soundtrackSample = 0;
    uint32_t soundtrackChannel = 0;
    PartApp partApp;  // what the parts see of all this; filled by prepareShow
    int64_t lastLoadingRedraw = 0;  // ticks of the loading screen's last redraw
    bool windowExposed = false;  // the window asked to be redrawn (uncovered, resized)
    Desk desk;  // the maker's keys, loop, bookmarks, shader reloads and HUD
};

// The process-wide record, built by a static initialiser.
extern AppState appState;

// Loads the loading screen, the render targets, MIDI and every part, then
// starts the soundtrack. Once, after the show window exists.
void startShow(AppState& state);

// The first step of startShow, which tools and tests that load the show
// without MIDI or music start from (then createRenderTargets): the parts'
// view of the application and the loading screen's picture. Needs the show
// window and the loader part.
void prepareShow(AppState& state);

// Pumps events and draws the loading screen: on the first call, then when
// the window asks for it, at most four times a second.
// Main thread only (it owns the GL context): loaders call it while workers
// decode.
void reportProgress(float progress, const std::string& message);
// Whether reportProgress at nowTicks draws the loading screen.
bool loadingRedrawDue(const AppState& state, int64_t nowTicks);

// The eight render targets, sized from the show window.
void createRenderTargets(AppState& state);

// Lists the MIDI inputs and opens device 0 for the control surface; without
// one the show runs on, the failure printed.
void startControlSurface(AppState& state);

// The last step of every main-loop frame.
void finishFrame(AppState& state);
