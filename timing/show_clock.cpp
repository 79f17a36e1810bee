#include "timing/show_clock.h"

#include <GL/glew.h>
#include <cmath>
#include <string>

#include "app/app_state.h"
#include "show/part.h"
#include "timing/soundtrack.h"

static const char* const DATA_DIR = "Resources//";

void startSoundtrack(AppState& state) {
    soundtrackInit();
    soundtrackStart();
    state.soundtrackSample = soundtrackLoadSample((std::string(DATA_DIR) + "music//Velmora.mp3").c_str());
    state.soundtrackChannel = soundtrackGetChannel(state.soundtrackSample);
    soundtrackPlay(state.soundtrackChannel);
    soundtrackSetPosition(state.soundtrackChannel, 0);
}

void followShowTime(unsigned channel, double t) {
    uint64_t bytes = 0;
    soundtrackGetPosition(channel, &bytes);
    float seconds = static_cast<float>(bytes) / static_cast<float>(SOUNDTRACK_BYTES_PER_SECOND);
    if (std::fabs(t - seconds) <= SOUNDTRACK_MAX_DRIFT) return;
    float target = static_cast<float>(t * SOUNDTRACK_BYTES_PER_SECOND);
    // Only positions a byte count can hold are asked for; the back end refuses
    // negative ones and those past the end of the music.
    if (!(target > -1.0f && target < 9.0e18f)) return;
    soundtrackSetPosition(channel, static_cast<int64_t>(target));
}

void advanceShow(AppState& state) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    state.showClock += state.live.frameTime;
    for (size_t i = 0; i < state.parts.size(); ++i) {
        Part* part = state.parts[i];
        part->app = &state;
        part->live = &state.live;
        if (static_cast<int>(i) == state.activePart) {
            part->update();
            part->draw();
        }
        followShowTime(state.soundtrackChannel, part->time / (part->rate / 120.0));
        resetGLState();
    }
    state.activePart = scheduledPart(state.showClock, state.activePart);
}
