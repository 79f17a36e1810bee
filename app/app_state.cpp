#include "app/app_state.h"

#include <GL/glew.h>
#include <cstdio>

#include "show/part.h"
#include "show/part_loader.h"
#include "platform/system_time.h"
#include "timing/show_clock.h"

AppState appState;

void loadIdentityMatrices() {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void resetGLState() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    loadIdentityMatrices();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

void createRenderTargets(AppState& state) {
    int w = state.window.width, h = state.window.height;
    for (int i = TARGET_SCENE_1; i <= TARGET_SCENE_4; ++i) state.targets[i].create(w, h, 4);
    state.targets[TARGET_FULL].create(w, h, 0);
    state.targets[TARGET_QUARTER_MS].create(w / 4, h / 4, 4);
    state.targets[TARGET_QUARTER].create(w / 4, h / 4, 0);
    state.targets[TARGET_SQUARE].create(1024, 1024, 0);
}

void startControlSurface(AppState& state) {
    MidiIn::printDeviceNames();
    state.live.controls = &state.controls;
    if (!state.controls.start()) printf("nano_kontrol2.start() failed...\n");
}

void startShow(AppState& state) {
    state.loader->live = &state.live;
    state.loader->init();

    createRenderTargets(state);

    startControlSurface(state);

    for (Part* part : state.parts) {
        part->live = &state.live;
        part->app = &state;
        part->init();
    }

    state.lastTicks = systemTicks();  // loading does not count as a frame
    sleepMilliseconds(5);
    startSoundtrack(state);
}

void finishFrame(AppState& state) {
    resetGLState();
    state.live._kz = -1.0f;
}
