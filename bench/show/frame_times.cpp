// frame_times - the show played headless at a chosen size, one frame every
// step of raw time, with per act: the main thread's CPU time of a frame, the
// GPU time (timer queries), medians and 95th percentiles, the draws and the
// samples passed (occlusion queries: the fill, comparable on any GPU).
//
//   frame_times [--size WxH] [--step S] [--from R] [--to R]
//
// Raw times in seconds; by default every 0.25 s from 0 to the show's end.
// SDL's offscreen video driver (EGL) unless SDL_VIDEODRIVER says otherwise,
// so the same command runs under llvmpipe or on a real GPU with no display.
// Standard output: one tab-separated row per act, then one for the whole
// range; what the show prints goes to standard error, without the loading
// log.
#include <GL/glew.h>
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/offline_show.h"
#include "show/frame_trace.h"
#include "show/scene_timeline.h"

namespace {

struct Options {
    int width = 1280, height = 720;
    float step = 0.25f, from = 0, to = 1e9f;
};

struct Sample {
    double cpuMs, gpuMs, megaSamples;
    int draws;
};

bool parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; i++) {
        const char* flag = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        char* end = nullptr;
        if (strcmp(flag, "--size") == 0) {
            if (sscanf(value, "%dx%d", &options->width, &options->height) != 2 || options->width < 16 ||
                options->height < 16 || options->width > 8192 || options->height > 8192)
                return false;
            continue;
        }
        float number = strtof(value, &end);
        if (end == value || *end != '\0' || !(number >= 0 && number < 1e6f)) return false;
        if (strcmp(flag, "--step") == 0 && number > 0)
            options->step = number;
        else if (strcmp(flag, "--from") == 0)
            options->from = number;
        else if (strcmp(flag, "--to") == 0)
            options->to = number;
        else
            return false;
    }
    return options->from <= options->to;
}

double threadCpuMs() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec * 1e-6;
}

// The value at fraction q of the sorted values (nearest rank).
double quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t rank = size_t(q * double(values.size() - 1) + 0.5);
    return values[std::min(rank, values.size() - 1)];
}

// One frame of the draw step, timed on the CPU and by the GPU.
Sample timeFrame(Part_Clips& part, GLuint timer, GLuint occlusion) {
    Sample sample;
    sample.draws = int(traceFrame(part).calls.size());
    glFinish();
    double start = threadCpuMs();
    glBeginQuery(GL_TIME_ELAPSED, timer);
    glBeginQuery(GL_SAMPLES_PASSED, occlusion);
    part.draw();
    glEndQuery(GL_SAMPLES_PASSED);
    glEndQuery(GL_TIME_ELAPSED);
    sample.cpuMs = threadCpuMs() - start;
    GLuint64 nanoseconds = 0, passed = 0;
    glGetQueryObjectui64v(timer, GL_QUERY_RESULT, &nanoseconds);
    glGetQueryObjectui64v(occlusion, GL_QUERY_RESULT, &passed);
    sample.gpuMs = double(nanoseconds) * 1e-6;
    sample.megaSamples = double(passed) * 1e-6;
    return sample;
}

void printRow(const char* name, double rawStart, const std::vector<Sample>& samples) {
    std::vector<double> cpu, gpu, draws, fill;
    for (const Sample& s : samples) {
        cpu.push_back(s.cpuMs);
        gpu.push_back(s.gpuMs);
        draws.push_back(s.draws);
        fill.push_back(s.megaSamples);
    }
    printf("%s\t%.3f\t%zu\t%.2f\t%.2f\t%.2f\t%.2f\t%.0f\t%.2f\n", name, rawStart, samples.size(), quantile(cpu, 0.5),
           quantile(cpu, 0.95), quantile(gpu, 0.5), quantile(gpu, 0.95), quantile(draws, 0.5), quantile(fill, 0.5));
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, &options)) {
        fprintf(stderr, "usage: frame_times [--size WxH] [--step S] [--from R] [--to R]\n");
        return 2;
    }
    if (!useShowData("frame_times", false)) return 1;
    int out = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);  // the show's own lines
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!openShowWindow(options.width, options.height)) {
        fprintf(stderr, "frame_times - no GL context: %s\n", SDL_GetError());
        return 1;
    }
    if (!GLEW_ARB_timer_query) {
        fprintf(stderr, "frame_times - this GL has no timer queries\n");
        return 1;
    }
    Part_Clips* part = newShowPart();
    part->init();
    fillShowTimeMap(part->timeMap, part->tempo);

    GLuint queries[2];
    glGenQueries(2, queries);
    std::vector<Sample> all, byAct[SCENE_ACT_COUNT];
    for (int k = 0;; k++) {
        float raw = options.from + options.step * float(k);
        if (raw > options.to) break;
        setRawTime(*part, raw);
        if (part->sceneTime >= SHOW_END_SCENE_TIME) break;  // the draw step would end the process
        Sample sample = timeFrame(*part, queries[0], queries[1]);
        int act = 0;
        while (act + 1 < SCENE_ACT_COUNT && actRawStart(act + 1) <= raw) act++;
        byAct[act].push_back(sample);
        all.push_back(sample);
    }
    glDeleteQueries(2, queries);

    fflush(stdout);
    dup2(out, STDOUT_FILENO);
    const GLubyte* renderer = glGetString(GL_RENDERER);
    printf("# %dx%d, a frame every %.3f s of raw time; GL: %s\n", options.width, options.height, options.step,
           renderer ? reinterpret_cast<const char*>(renderer) : "unknown");
    printf("act\traw_start_s\tframes\tcpu_median_ms\tcpu_p95_ms\tgpu_median_ms\tgpu_p95_ms\tdraws_median\t"
           "samples_passed_median_M\n");
    for (int act = 0; act < SCENE_ACT_COUNT; act++)
        if (!byAct[act].empty()) printRow(ACTS[act].name, actRawStart(act), byAct[act]);
    printRow("all", options.from, all);
    return all.empty() ? 1 : 0;
}
