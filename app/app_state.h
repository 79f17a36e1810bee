// app_state.h - the one application record everything hangs from, and the
// start sequence and frame end that the driver runs.
//
// It has static storage (see `app`), so the launcher rows and the control
// surface exist before main starts. Parts reach it through their app and
// live pointers.
#pragma once
#include <cstdint>
#include <vector>

#include "app/gl_window.h"
#include "app/launcher_menu.h"
#include "midi/nano_kontrol2.h"
#include "render/render_target.h"

class Part;
class Part_Loader;

constexpr int KEY_COUNT = 512;  // SDL scancodes all lie below

// What every part reads each frame.
struct LiveInputs {
    NanoKONTROL2* controls = nullptr;
    float _nx = 0, _ny = 0, _nz = 0;  // tweak values, 0 in the shipped show
    int _ix = 0, _iy = 0, _iz = 0;
    float _kx = 0, _ky = 0;
    float _kz = 0;  // speed tweak; finishFrame holds it at -1
    float _k0 = 0, _k1 = 0, _k2 = 0, _k3 = 0, _k4 = 0, _k5 = 0;  // the shaders' "k0".."k5"
    float frameTime = 0;  // clamped duration of the last frame, seconds
    int mouseX = 0, mouseY = 0;  // window pixels
    bool leftButton = false;
    bool keys[KEY_COUNT] = {};  // held keys by SDL scancode
};

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
    bool running = true;
    int64_t lastTicks = 0;  // previous frame's time, 100-ns ticks
    MyNanoKONTROL2 controls;
    LauncherMenu menu = makeLauncherMenu();
    float showClock = 0;  // seconds of frame time since the start
    RenderTarget targets[TARGET_COUNT] = {};
    int activePart = 0;
    uint32_t soundtrackSample = 0;
    uint32_t soundtrackChannel = 0;
};

// The process-wide record, built by a static initialiser.
extern AppState appState;

// Loads the loading screen, the render targets, MIDI and every part, then
// starts the soundtrack. Once, after the show window exists.
void startShow(AppState& state);

// The eight render targets, sized from the show window.
void createRenderTargets(AppState& state);

// Lists the MIDI inputs and opens device 0 for the control surface; without
// one the show runs on, the failure printed.
void startControlSurface(AppState& state);

// Identity texture, projection and model-view matrices; model-view selected.
void loadIdentityMatrices();

// The GL state every drawing step may rely on at its start: framebuffer 0,
// program 0, identity matrices, texturing, blending, depth test and culling off.
void resetGLState();

// The last step of every main-loop frame.
void finishFrame(AppState& state);
