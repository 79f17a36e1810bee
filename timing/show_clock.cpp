#include "timing/show_clock.h"

#include <cmath>
#include <string>

#include "timing/soundtrack.h"

static const char* const DATA_DIR = "Resources//";

void startSoundtrack(uint32_t& sample, uint32_t& channel) {
    soundtrackInit();
    soundtrackStart();
    sample = soundtrackLoadSample((std::string(DATA_DIR) + "music//Velmora.mp3").c_str());
    channel = soundtrackGetChannel(sample);
    soundtrackPlay(channel);
    soundtrackSetPosition(channel, 0);
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
