#include "timing/soundtrack.h"

#include <string>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct SoundtrackSample {
    std::vector<int16_t> pcm;
    uint64_t position = 0;  // bytes; shared with the audio thread under the device lock
    bool playing = false;
};

struct SoundtrackOutput {
    SDL_AudioDeviceID device = 0;
    std::vector<std::unique_ptr<SoundtrackSample>> samples;  // sample handle = index + 1
};

// Channel handles carry this bit so they are never mistaken for samples.
constexpr uint32_t CHANNEL_BIT = 0x80000000u;
constexpr Uint16 DEVICE_FRAMES = 1024;

// Never deleted: exit(0) runs static destructors while the audio thread may still mix from it.
SoundtrackOutput* const output = new SoundtrackOutput;

// Holds the audio thread off the shared positions for the caller's scope.
struct DeviceLock {
    DeviceLock() { SDL_LockAudioDevice(output->device); }
    ~DeviceLock() { SDL_UnlockAudioDevice(output->device); }
};

void mixChannels(void* userdata, Uint8* stream, int length) {
    auto* out = static_cast<SoundtrackOutput*>(userdata);
    auto* mix = reinterpret_cast<int16_t*>(stream);
    size_t count = size_t(length) / sizeof(int16_t);
    std::fill(mix, mix + count, int16_t(0));
    for (auto& sample : out->samples) {
        if (!sample->playing) continue;
        size_t from = sample->position / sizeof(int16_t);
        size_t n = std::min(count, sample->pcm.size() - from);
        const int16_t* src = sample->pcm.data() + from;
        for (size_t i = 0; i < n; ++i)
            mix[i] = int16_t(std::clamp(mix[i] + src[i], -32768, 32767));
        sample->position += n * sizeof(int16_t);
    }
}

SoundtrackSample* sampleFor(uint32_t handle) {
    if (handle == 0 || handle > output->samples.size()) return nullptr;
    return output->samples[handle - 1].get();
}

SoundtrackSample* channelFor(uint32_t handle) {
    if (!(handle & CHANNEL_BIT)) return nullptr;
    return sampleFor(handle & ~CHANNEL_BIT);
}

void reportNoOutput(std::string* said) {
    std::string line = std::string("soundtrackInit - no audio output, the show runs silent - ") + SDL_GetError() + "\n";
    if (said)
        *said += line;
    else
        fputs(line.c_str(), stdout);
}

}  // namespace

bool soundtrackInit(std::string* said) {
    if (output->device) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reportNoOutput(said);
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = SOUNDTRACK_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = SOUNDTRACK_CHANNELS;
    want.samples = DEVICE_FRAMES;
    want.callback = mixChannels;
    want.userdata = output;
    // No changes allowed: SDL converts to whatever the device really takes.
    output->device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!output->device) {
        reportNoOutput(said);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

bool soundtrackStart() {
    if (!output->device) return false;
    SDL_PauseAudioDevice(output->device, 0);
    return true;
}

void soundtrackFree() {
    if (!output->device) return;
    SDL_CloseAudioDevice(output->device);  // returns once the audio thread has stopped
    output->device = 0;
    output->samples.clear();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

uint32_t soundtrackLoadSample(const char* path) {
    if (!output->device) return 0;
    std::vector<int16_t> pcm;
    if (!decodeSoundtrack(path, &pcm)) return 0;
    return soundtrackLoadDecoded(std::move(pcm));
}

uint32_t soundtrackLoadDecoded(std::vector<int16_t> pcm) {
    if (!output->device || pcm.empty()) return 0;
    auto sample = std::make_unique<SoundtrackSample>();
    sample->pcm = std::move(pcm);
    DeviceLock lock;
    output->samples.push_back(std::move(sample));
    return uint32_t(output->samples.size());
}

uint32_t soundtrackGetChannel(uint32_t sample) {
    return sampleFor(sample) ? sample | CHANNEL_BIT : 0;
}

bool soundtrackPlay(uint32_t channel) {
    SoundtrackSample* sample = channelFor(channel);
    if (!sample) return false;
    DeviceLock lock;
    sample->position = 0;
    sample->playing = true;
    return true;
}

bool soundtrackSetPosition(uint32_t channel, int64_t bytes) {
    SoundtrackSample* sample = channelFor(channel);
    if (!sample || bytes < 0 || uint64_t(bytes) > sample->pcm.size() * sizeof(int16_t))
        return false;
    DeviceLock lock;
    sample->position = uint64_t(bytes) / SOUNDTRACK_BYTES_PER_FRAME * SOUNDTRACK_BYTES_PER_FRAME;
    return true;
}

bool soundtrackGetPosition(uint32_t channel, uint64_t* bytes) {
    *bytes = 0;
    SoundtrackSample* sample = channelFor(channel);
    if (!sample) return false;
    DeviceLock lock;
    *bytes = sample->position;
    return true;
}
