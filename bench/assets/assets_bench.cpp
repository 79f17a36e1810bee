#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "assets/mesh_sequence.h"
#include "render/dxt1.h"

struct SequenceFiles {
    const char* folderFormat;
    int first, step, count;
};

static const SequenceFiles SEQUENCES[] = {
    {"%sDemoQTR//walkingnude//%05d.cor", 4800, 1, 10}, {"%sDemoQTR//walkingnude//%05d.cor", 4208, 1, 2},
    {"%sDemoQTR//walkingnude//%05d.cor", 4589, 1, 2},  {"%sDemoQTR//walkingnude//%05d.cor", 4502, 1, 160},
    {"%sDemoQTR//walkingnude//%05d.cor", 800, 1, 40},  {"%sDemoQTR//nude2//%05d.cor", 300, 4, 20},
};

static double megabytesUnder(const std::filesystem::path& folder) {
    std::error_code ec;
    uintmax_t bytes = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file(ec)) bytes += it->file_size(ec);
    return double(bytes) / (1024.0 * 1024.0);
}

// The loaders print a line per frame: keep them off the report.
struct QuietStdout {
    int saved;
    QuietStdout() {
        fflush(stdout);
        saved = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout() {
        fflush(stdout);
        dup2(saved, 1);
        close(saved);
    }
};

// All 234 frames decoded the way set-up decodes them (on worker threads,
// normals included), pictures decoded and kept.
static void BM_LoadSixFigureSequences(benchmark::State& state) {
    std::filesystem::current_path(TORVANEL_SOURCE_DIR);  // the loader reads "Resources//"
    size_t triangles = 0;
    for (auto _ : state) {
        QuietStdout quiet;
        triangles = 0;
        for (const SequenceFiles& s : SEQUENCES) {
            MeshSequence sequence;
            sequence.frames.resize(size_t(s.count));
            loadMeshSequence(sequence, s.folderFormat, s.first, s.step, nullptr);
            for (const MeshFrame& frame : sequence.frames) triangles += frame.indices.size() / 3;
            benchmark::DoNotOptimize(sequence.frames.data());
        }
    }
    state.counters["frames"] = 234;
    state.counters["triangles"] = double(triangles);
    state.counters["frames_per_s"] = benchmark::Counter(234, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["resources_MB"] = megabytesUnder("Resources");
    state.counters["figure_files_MB"] = megabytesUnder("Resources/DemoQTR");
}
BENCHMARK(BM_LoadSixFigureSequences)->Unit(benchmark::kMillisecond)->UseRealTime();

// One frame on one thread: file read, mesh decode, picture decode, normals.
static void BM_LoadOneFrame(benchmark::State& state) {
    std::filesystem::current_path(TORVANEL_SOURCE_DIR);
    MeshSequence options;
    for (auto _ : state) {
        QuietStdout quiet;
        MeshFrame frame = loadMeshFrame(options, "Resources//DemoQTR//walkingnude//04520.cor", true);
        computeNormals(frame);
        benchmark::DoNotOptimize(frame.normals.data());
    }
}
BENCHMARK(BM_LoadOneFrame)->Unit(benchmark::kMillisecond);

// One figure's painted picture compressed to DXT1, as each worker does per
// frame at set-up.
static void BM_EncodeFigurePicture(benchmark::State& state) {
    std::filesystem::current_path(TORVANEL_SOURCE_DIR);
    cv::Mat picture;
    {
        QuietStdout quiet;
        picture = loadMeshFrame(MeshSequence(), "Resources//DemoQTR//walkingnude//04520.cor", true).picture;
    }
    if (picture.empty()) {
        state.SkipWithError("no figure picture (run the forge)");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(encodeDxt1(picture).data());
    state.counters["Mpixels_per_s"] =
        benchmark::Counter(double(picture.total()) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EncodeFigurePicture)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
