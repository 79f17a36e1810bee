#include "show/clips_clock.h"

#include <SDL.h>

#include "platform/system_time.h"
#include "show/desk_transport.h"
#include "show/part_clips.h"

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
    time = advanceRawTime(time, rate, *live);
    if (live->desk) time = runDeskCommands(*live->desk, live->deskCommands, time, live->controls);
    rawTime = time;
    fttime = time;
    int i = timeMapIndex(timeMap, time);
    timeFlag = timeMap.flags[i];
    sceneTime = timeMap.sceneTime[i];
}
