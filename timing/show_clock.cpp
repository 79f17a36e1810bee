#include "timing/show_clock.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "timing/soundtrack.h"

static const char* const DATA_DIR = "Resources//";

void beginSoundtrackDecode(SoundtrackDecode& decode) {
    if (!soundtrackInit(&decode.said)) return;  // no output: nothing to decode for
    decode.done = std::async(std::launch::async, [&decode] {
        return decodeSoundtrack((std::string(DATA_DIR) + "music//Velmora.mp3").c_str(), &decode.pcm, &decode.said);
    });
}

void startSoundtrack(SoundtrackDecode& decode, uint32_t& sample, uint32_t& channel) {
    soundtrackStart();
    bool decoded = decode.done.valid() && decode.done.get();
    fputs(decode.said.c_str(), stdout);
    sample = decoded ? soundtrackLoadDecoded(std::move(decode.pcm)) : 0;
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
