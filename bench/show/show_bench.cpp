// Loading the whole show as the program does, split into its stages, then
// frames of the show drawn through both passes, whole and stage by stage, in
// a 1280 x 720 window (--size WxH for another).
// One iteration each: loading happens once per run of the show.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/offline_show.h"
#include "bench/show/silenced_stdout.h"
#include "show/clips_frame.h"
#include "show/clips_loader.h"
#include "show/scene_timeline.h"

namespace {

Part_Clips* part = nullptr;
int windowWidth = 1280, windowHeight = 720;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Resident memory now, in MB (the driver's textures and buffers included:
// a software GL keeps them in this process).
double residentMegabytes() {
    long pages = 0, resident = 0;
    if (FILE* f = fopen("/proc/self/statm", "r")) {
        if (fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1e6;
}

void BM_ShowLoading(benchmark::State& state) {
    bool opened;
    {
        SilencedStdout quiet;
        opened = openShowWindow(windowWidth, windowHeight);
    }
    if (!opened) {
        state.SkipWithError("no show window");
        return;
    }
    state.counters["rss_window_MB"] = residentMegabytes();
    for (auto _ : state) {
        SilencedStdout quiet;
        auto start = std::chrono::steady_clock::now();
        part = newShowPart();
        part->rate = 120;
        reportProgress(0.03f, "");
        auto stage = std::chrono::steady_clock::now();
        loadClipsPictures(*part);
        state.counters["pictures_s"] = secondsSince(stage);
        state.counters["rss_pictures_MB"] = residentMegabytes();
        stage = std::chrono::steady_clock::now();
        loadClipsFigures(*part);
        state.counters["figures_s"] = secondsSince(stage);
        state.counters["rss_figures_MB"] = residentMegabytes();
        stage = std::chrono::steady_clock::now();
        part->buildShaders();
        state.counters["shaders_s"] = secondsSince(stage);
        stage = std::chrono::steady_clock::now();
        part->update();
        part->draw();
        glFinish();
        state.counters["first_frame_s"] = secondsSince(stage);
        state.counters["rss_first_frame_MB"] = residentMegabytes();
        state.counters["total_s"] = secondsSince(start);
    }
}

// Whole frames as the program draws them (advance, draw, swap) at a raw time.
void BM_ShowFrame(benchmark::State& state) {
    if (!part) {
        state.SkipWithError("the show did not load");
        return;
    }
    float rawTime = static_cast<float>(state.range(0));
    appState.live.frameTime = 0;
    int frames = 0;
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        part->time = rawTime;
        part->update();
        part->draw();
        SDL_GL_SwapWindow(appState.window.window);
        frames++;
    }
    glFinish();
    state.counters["frames_per_s"] = frames / secondsSince(start);
}

// The same frame split into its stages, each finished before the next starts.
void BM_FramePasses(benchmark::State& state) {
    if (!part) {
        state.SkipWithError("the show did not load");
        return;
    }
    float rawTime = static_cast<float>(state.range(0));
    appState.live.frameTime = 0;
    double scenes = 0, post = 0, final = 0, swap = 0;
    for (auto _ : state) {
        part->time = rawTime;
        part->update();
        placeClipsCamera(*part);
        glFinish();
        auto stage = std::chrono::steady_clock::now();
        RenderTarget& scene = *part->app->sceneTarget;
        scene.attach(3);
        scene.bind(3);
        glViewport(0, 0, scene.width, scene.height);
        SceneFrame frame = clipsSceneFrame(*part);
        drawScenes(frame);
        scene.resolve(3);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glFinish();
        scenes += secondsSince(stage);
        stage = std::chrono::steady_clock::now();
        postProcessPass(*part);
        glFinish();
        post += secondsSince(stage);
        stage = std::chrono::steady_clock::now();
        finalPass(*part);
        glFinish();
        final += secondsSince(stage);
        stage = std::chrono::steady_clock::now();
        SDL_GL_SwapWindow(appState.window.window);
        glFinish();
        swap += secondsSince(stage);
        part->time = part->rawTime;
    }
    auto perFrameMs = [](double seconds) {
        return benchmark::Counter(seconds * 1e3, benchmark::Counter::kAvgIterations);
    };
    state.counters["scenes_ms"] = perFrameMs(scenes);
    state.counters["post_ms"] = perFrameMs(post);
    state.counters["final_ms"] = perFrameMs(final);
    state.counters["swap_ms"] = perFrameMs(swap);
}

// The raw times the frame rate is measured at.
void frameTimes(benchmark::internal::Benchmark* b) {
    for (int t : {30, 100, 150, 230}) b->Arg(t);
}

}  // namespace

BENCHMARK(BM_ShowLoading)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ShowFrame)->Apply(frameTimes)->MinTime(5.0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FramePasses)->Apply(frameTimes)->MinTime(3.0)->Unit(benchmark::kMillisecond)->UseRealTime();

// --size WxH picks the show window (1280x720 unless given).
int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; i++) {
        if (std::string(argv[i]) != "--size") continue;
        if (sscanf(argv[i + 1], "%dx%d", &windowWidth, &windowHeight) != 2) {
            fprintf(stderr, "--size wants WxH, e.g. 1920x1080\n");
            return 2;
        }
        for (int j = i; j + 2 <= argc; j++) argv[j] = argv[j + 2];
        argc -= 2;
        break;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
