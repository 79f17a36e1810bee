// Loading the whole show as the program does, split into its stages, then
// frames of the show drawn through both passes into a 1280 x 720 window.
// One iteration each: loading happens once per run of the show.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "app/app_state.h"
#include "app/offline_show.h"
#include "bench/show/silenced_stdout.h"

namespace {

Part_Clips* part = nullptr;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ShowLoading(benchmark::State& state) {
    bool opened;
    {
        SilencedStdout quiet;
        opened = openShowWindow(1280, 720);
    }
    if (!opened) {
        state.SkipWithError("no show window");
        return;
    }
    for (auto _ : state) {
        SilencedStdout quiet;
        auto start = std::chrono::steady_clock::now();
        part = newShowPart();
        part->rate = 120;
        reportProgress(0.03f, "");
        auto stage = std::chrono::steady_clock::now();
        part->loadPictures();
        state.counters["pictures_s"] = secondsSince(stage);
        stage = std::chrono::steady_clock::now();
        part->loadFigures();
        state.counters["figures_s"] = secondsSince(stage);
        stage = std::chrono::steady_clock::now();
        part->buildShaders();
        state.counters["shaders_s"] = secondsSince(stage);
        stage = std::chrono::steady_clock::now();
        part->update();
        part->draw();
        glFinish();
        state.counters["first_frame_s"] = secondsSince(stage);
        state.counters["total_s"] = secondsSince(start);
    }
}

// Frames of the show at a replayed stretch (every pass, every branch on).
void BM_ShowFrame(benchmark::State& state) {
    if (!part) {
        state.SkipWithError("the show did not load");
        return;
    }
    appState.live.frameTime = 0;
    int frames = 0;
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        part->time = 150.0f;
        part->update();
        part->draw();
        SDL_GL_SwapWindow(appState.window.window);
        frames++;
    }
    glFinish();
    state.counters["frames_per_s"] = frames / secondsSince(start);
}

}  // namespace

BENCHMARK(BM_ShowLoading)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ShowFrame)->MinTime(5.0)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
