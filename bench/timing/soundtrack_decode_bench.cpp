// Decoding a soundtrack-length mp3 (315 s, made once with lame into the build
// folder) into memory: wall time, times real time, and the memory it takes.
#include "timing/soundtrack_decode.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int SECONDS = 315;

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Chords, a melody and a little noise: busy enough that the encoder spends
// its bits as it would on music.
void writeMusicWav(const std::string& path) {
    const uint32_t frames = uint32_t(SECONDS) * SOUNDTRACK_RATE;
    const uint32_t dataBytes = frames * SOUNDTRACK_BYTES_PER_FRAME;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    auto le = [f](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) fputc(int((v >> (8 * i)) & 0xff), f);
    };
    fputs("RIFF", f); le(36 + dataBytes, 4); fputs("WAVEfmt ", f);
    le(16, 4); le(1, 2); le(2, 2); le(SOUNDTRACK_RATE, 4);
    le(SOUNDTRACK_BYTES_PER_SECOND, 4); le(4, 2); le(16, 2);
    fputs("data", f); le(dataBytes, 4);
    uint32_t noise = 1;
    for (uint32_t i = 0; i < frames; ++i) {
        double t = double(i) / SOUNDTRACK_RATE;
        double note = 220 * std::pow(2.0, int(t * 4) % 12 / 12.0);
        double chord = std::sin(2 * M_PI * 110 * t) + std::sin(2 * M_PI * 165 * t);
        noise = noise * 1103515245u + 12345u;
        double hiss = (double(noise >> 16) / 32768.0 - 1.0) * 0.05;
        double left = 0.3 * chord + 0.4 * std::sin(2 * M_PI * note * t) + hiss;
        double right = 0.3 * chord + 0.4 * std::sin(2 * M_PI * note * 1.5 * t) - hiss;
        le(uint16_t(int16_t(left * 12000)), 2);
        le(uint16_t(int16_t(right * 12000)), 2);
    }
    fclose(f);
}

std::string longMp3() {
    std::string mp3 = std::string(TORVANEL_BINARY_DIR) + "/soundtrack_bench_315s.mp3";
    if (exists(mp3)) return mp3;
    std::string wav = std::string(TORVANEL_BINARY_DIR) + "/soundtrack_bench_315s.wav";
    writeMusicWav(wav);
    std::string encode = "lame --quiet -b 192 " + wav + " " + mp3;
    if (std::system(encode.c_str()) != 0) fprintf(stderr, "soundtrack_bench - lame failed\n");
    remove(wav.c_str());
    return mp3;
}

void BM_DecodeSoundtrack(benchmark::State& state) {
    const std::string path = longMp3();
    std::vector<int16_t> pcm;
    for (auto _ : state) {
        state.PauseTiming();
        pcm = std::vector<int16_t>();  // each round allocates afresh, as at start
        state.ResumeTiming();
        if (!decodeSoundtrack(path.c_str(), &pcm)) {
            state.SkipWithError("decoding failed");
            return;
        }
        benchmark::DoNotOptimize(pcm.data());
        benchmark::ClobberMemory();
    }
    double audioSeconds = double(pcm.size()) / SOUNDTRACK_CHANNELS / SOUNDTRACK_RATE;
    state.counters["audio_s"] = audioSeconds;
    state.counters["x_realtime"] = benchmark::Counter(audioSeconds * double(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    state.counters["decoded_MiB"] = double(pcm.size() * sizeof(int16_t)) / (1024 * 1024);
    state.counters["allocated_MiB"] = double(pcm.capacity() * sizeof(int16_t)) / (1024 * 1024);
}
BENCHMARK(BM_DecodeSoundtrack)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
