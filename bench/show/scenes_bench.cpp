// Frames of the show at chosen scene times. BM_SceneLayouts: the CPU time of
// our own code in the scene groups, the GL driver left out. BM_SceneFrame:
// the wall time of the whole frame under the GL driver, the main thread's
// CPU time in the scene groups (ours and the driver's work for their calls),
// and the number of draws. Run from the repository root under a display:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/show/scenes_bench
#include <benchmark/benchmark.h>

#include <ctime>

#include "app/app_state.h"
#include "app/offline_show.h"
#include "bench/show/silenced_stdout.h"
#include "show/clips_frame.h"
#include "show/frame_trace.h"
#include "show/scene_timeline.h"

namespace {

Part_Clips* part = nullptr;

// The main thread's CPU time: the driver's rasterising threads stay out.
double threadCpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

bool loadShow() {
    if (part) return true;
    SilencedStdout quiet;
    if (!openShowWindow(1280, 720)) return false;
    part = newShowPart();
    part->init();
    return true;
}

void BM_SceneFrame(benchmark::State& state) {
    if (!loadShow()) {
        state.SkipWithError("no show window");
        return;
    }
    float t = static_cast<float>(state.range(0));
    setSceneTime(*part, t, 0);
    state.counters["draws"] = static_cast<double>(traceFrame(*part).calls.size());
    double groups = 0;
    for (auto _ : state) {
        setSceneTime(*part, t, 0);
        placeClipsCamera(*part);
        RenderTarget& scene = *part->app->sceneTarget;
        scene.attach(3);
        scene.bind(3);
        glViewport(0, 0, scene.width, scene.height);
        SceneFrame frame = clipsSceneFrame(*part);
        double start = threadCpuSeconds();
        drawScenes(frame);
        groups += threadCpuSeconds() - start;
        scene.resolve(3);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        postProcessPass(*part);
        finalPass(*part);
        glFinish();
    }
    state.counters["scene_groups_cpu_ms"] = benchmark::Counter(groups * 1e3, benchmark::Counter::kAvgIterations);
}

// The scene groups with no GL context current: every GL call goes to the
// dispatcher's empty stand-in, so what is left is our own code (layouts,
// matrices we compute, the random generator, image lookups).
void BM_SceneLayouts(benchmark::State& state) {
    if (!loadShow()) {
        state.SkipWithError("no show window");
        return;
    }
    float t = static_cast<float>(state.range(0));
    setSceneTime(*part, t, 0);
    placeClipsCamera(*part);
    SceneFrame frame = clipsSceneFrame(*part);
    SDL_GL_MakeCurrent(appState.window.window, nullptr);
    for (auto _ : state) drawScenes(frame);
    SDL_GL_MakeCurrent(appState.window.window, appState.window.context);
}

// Our own code over the whole show, one frame every second of scene time:
// the worst frame and the mean.
void BM_WholeShowLayouts(benchmark::State& state) {
    if (!loadShow()) {
        state.SkipWithError("no show window");
        return;
    }
    double worst = 0, worstTime = 0, sum = 0;
    int frames = 0;
    SDL_GL_MakeCurrent(appState.window.window, nullptr);
    for (auto _ : state) {
        for (int second = 0; second < 273; second++) {
            setSceneTime(*part, static_cast<float>(second), 0);
            placeClipsCamera(*part);
            SceneFrame frame = clipsSceneFrame(*part);
            double start = threadCpuSeconds();
            drawScenes(frame);
            double spent = threadCpuSeconds() - start;
            if (spent > worst) worst = spent, worstTime = second;
            sum += spent;
            frames++;
        }
    }
    SDL_GL_MakeCurrent(appState.window.window, appState.window.context);
    state.counters["worst_ms"] = worst * 1e3;
    state.counters["worst_at_s"] = worstTime;
    state.counters["mean_ms"] = sum / frames * 1e3;
}

}  // namespace

// The scene times the acts are measured at.
static void sceneTimes(benchmark::internal::Benchmark* b) {
    for (int t : {8, 30, 38, 68, 85, 110, 158, 190, 212, 230, 246}) b->Arg(t);
}

BENCHMARK(BM_SceneLayouts)->Apply(sceneTimes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeShowLayouts)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneFrame)->Apply(sceneTimes)->MinTime(3.0)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
