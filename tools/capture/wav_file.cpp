#include "wav_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/output_files.h"

static const uint32_t RATE = 44100;
static const uint16_t CHANNELS = 2;
static const uint32_t BYTES_PER_FRAME = 4;
static const long HEADER_BYTES = 44;

static void put16(uint8_t* at, uint16_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
}
static void put32(uint8_t* at, uint32_t v) {
    for (int k = 0; k < 4; k++) at[k] = uint8_t(v >> (8 * k));
}

static void header(uint8_t* h, int64_t frames) {
    uint32_t data = uint32_t(frames * BYTES_PER_FRAME);
    memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + data);
    memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);  // PCM
    put16(h + 22, CHANNELS);
    put32(h + 24, RATE);
    put32(h + 28, RATE * BYTES_PER_FRAME);
    put16(h + 32, BYTES_PER_FRAME);
    put16(h + 34, 16);
    memcpy(h + 36, "data", 4);
    put32(h + 40, data);
}

int writeWav(const std::string& path, const std::vector<int16_t>& pcm, int64_t first, int64_t frames) {
    std::vector<uint8_t> bytes(size_t(HEADER_BYTES + frames * BYTES_PER_FRAME), 0);
    header(bytes.data(), frames);
    int64_t available = int64_t(pcm.size() / CHANNELS);
    int16_t* samples = reinterpret_cast<int16_t*>(bytes.data() + HEADER_BYTES);
    for (int64_t k = 0; k < frames; k++) {
        int64_t source = first + k;
        if (source < 0 || source >= available) continue;  // silence
        samples[k * 2] = pcm[size_t(source) * 2];
        samples[k * 2 + 1] = pcm[size_t(source) * 2 + 1];
    }
    return writeWholeFile(path, bytes);
}

bool cutWav(const std::string& path, int64_t frames) {
    FILE* file = fopen(path.c_str(), "r+b");
    if (!file) return false;
    uint8_t h[HEADER_BYTES];
    header(h, frames);
    bool ok = fwrite(h, 1, sizeof h, file) == sizeof h;
    ok = fflush(file) == 0 && ok;
    ok = ftruncate(fileno(file), HEADER_BYTES + frames * BYTES_PER_FRAME) == 0 && ok;
    return fclose(file) == 0 && ok;
}
