#include "app/app_state.h"

#include <GL/glew.h>
#include <cstdio>

#include "app/events.h"
#include "platform/system_time.h"
#include "render/gl_state.h"
#include "show/part_loader.h"
#include "timing/show_clock.h"

AppState appState;

// The loading screen's picture never changes, so it is drawn once and then
// only when the window asks for it (uncovered or resized), at most four times
// a second: under a software GL each redraw costs the main thread, which
// uploads what the workers decode, 15 to 40 ms.
static const int64_t LOADING_REDRAW_TICKS = 2500000;

void createRenderTargets(AppState& state) {
    int w = state.window.width, h = state.window.height;
    for (int i = TARGET_SCENE_1; i <= TARGET_SCENE_4; ++i) state.targets[i].create(w, h, 4);
    state.targets[TARGET_FULL].create(w, h, 0);
    state.targets[TARGET_QUARTER_MS].create(w / 4, h / 4, 4);
    state.targets[TARGET_QUARTER].create(w / 4, h / 4, 0);
    state.targets[TARGET_SQUARE].create(1024, 1024, 0);
    // Targets get storage as they are first used; the pictures the frame
    // samples exist (cleared) from the start, even before anything is drawn
    // into them: the scene's three outputs, the two figures' cut-outs and
    // the post-process picture.
    state.targets[TARGET_SCENE_1].ensureTextures(3);
    state.targets[TARGET_SCENE_3].ensureTextures(1);
    state.targets[TARGET_SCENE_4].ensureTextures(1);
    state.targets[TARGET_FULL].ensureTextures(1);
}

void startControlSurface(AppState& state) {
    MidiIn::printDeviceNames();
    state.live.controls = &state.controls;
    if (!state.controls.start()) printf("nano_kontrol2.start() failed...\n");
}

bool loadingRedrawDue(const AppState& state, int64_t nowTicks) {
    if (state.lastLoadingRedraw == 0) return true;
    return state.windowExposed && nowTicks - state.lastLoadingRedraw >= LOADING_REDRAW_TICKS;
}

void reportProgress(float progress, const std::string& message) {
    AppState& state = appState;
    Part_Loader* loader = state.loader;
    handleEvents(state);  // every call: Escape is answered at once
    loader->progress = progress;
    loader->message = message;
    int64_t now = systemTicks();
    if (!loadingRedrawDue(state, now)) return;
    state.lastLoadingRedraw = now;
    state.windowExposed = false;
    loader->update();
    loader->draw();
    resetGLState();
    SDL_GL_SwapWindow(state.window.window);
}

void prepareShow(AppState& state) {
    PartApp& view = state.partApp;
    view.width = state.window.width;
    view.height = state.window.height;
    view.aspect = state.window.aspect;
    view.sceneTarget = &state.targets[TARGET_SCENE_1];
    view.otherTarget = &state.targets[TARGET_SCENE_2];
    view.meshTargetA = &state.targets[TARGET_SCENE_3];
    view.meshTargetB = &state.targets[TARGET_SCENE_4];
    view.postTarget = &state.targets[TARGET_FULL];
    view.reportProgress = reportProgress;

    state.loader->app = &view;
    state.loader->live = &state.live;
    state.loader->init();
}

// The active part's frame at its start time, drawn once before the show
// starts into the back buffer that the first frame draws over: drivers finish
// compiling programs at their first draw and give targets and textures their
// storage at first use, and that is better done while the loading picture is
// up. The part's clock does not move (a frame time of 0), and every frame
// redraws what it shows, so the first frame on screen is unchanged.
static void warmUpActivePart(AppState& state) {
    if (state.parts.empty()) return;
    Part* part = state.parts[size_t(state.activePart)];
    float frameTime = state.live.frameTime;
    state.live.frameTime = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    part->update();
    part->draw();
    resetGLState();
    glFinish();
    state.live.frameTime = frameTime;
}

void startShow(AppState& state) {
    prepareShow(state);
    // On screen at once, before the render targets, the control surface and
    // the audio output take their time.
    reportProgress(0.0f, "");
    createRenderTargets(state);

    startControlSurface(state);
    // The music decodes on its own thread while the parts load.
    SoundtrackDecode soundtrack;
    beginSoundtrackDecode(soundtrack);

    for (Part* part : state.parts) {
        part->live = &state.live;
        part->app = &state.partApp;
        part->init();
    }
    warmUpActivePart(state);

    state.lastTicks = systemTicks();  // loading does not count as a frame
    sleepMilliseconds(5);
    startSoundtrack(soundtrack, state.soundtrackSample, state.soundtrackChannel);
}

void finishFrame(AppState& state) {
    resetGLState();
    state.live._kz = -1.0f;
}
