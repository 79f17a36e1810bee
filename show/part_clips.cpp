#include "show/part_clips.h"

#include <GL/glew.h>
#include <cstdlib>

#include "app/app_state.h"
#include "platform/system_time.h"

Part_Clips::~Part_Clips() = default;

void Part_Clips::init() {}

float advanceRawTime(float t, float rate, LiveInputs& live) {
    NanoKONTROL2* controls = live.controls;
    bool paused = controls && controls->toggle(NANO_KONTROL2_BUTTON_FOWARD) != 0;
    if (!paused) t = t + (rate / 120.0f) * live.frameTime * ((live._kz + 1.0f) * 3.0f + 1.0f);
    if (controls) {
        // Held nudge buttons step 2 ms a frame and slow the frame on purpose,
        // so a held button scrubs at a watchable pace.
        if (controls->value(NANO_KONTROL2_BUTTON_TRACK_FOWARD) > 1) {
            sleepMilliseconds(20);
            t = t + 0.002f;
        }
        if (controls->value(NANO_KONTROL2_BUTTON_TRACK_BACK) > 1) {
            sleepMilliseconds(20);
            t = t - 0.002f;
        }
        // Knob 6 holds a position: BACK jumps to it, REC stores the time there.
        if (controls->value(NANO_KONTROL2_BUTTON_BACK) > 1)
            t = controls->value(NANO_KONTROL2_ROTARY_KNOB_6) * 2.4f;
        if (controls->value(NANO_KONTROL2_BUTTON_REC) > 1)
            controls->setValue(NANO_KONTROL2_ROTARY_KNOB_6, t / 2.4f);
    }
    if (live.keys[SDL_SCANCODE_A]) t = -100.0f;
    return t;
}

void Part_Clips::update() {
    float t = advanceRawTime(time, rate, *live);
    rawTime = t;
    fttime = t;
    int i = timeMapIndex(timeMap, t);
    timeFlag = timeMap.flags[i];
    time = timeMap.sceneTime[i];
}

void Part_Clips::draw() {
    fillShowTimeMap(timeMap, tempo);
    frameCount = frameCount + 1;
    if (time >= SHOW_END_SCENE_TIME) exit(0);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, app->window.width, app->window.height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    time = rawTime;
}
