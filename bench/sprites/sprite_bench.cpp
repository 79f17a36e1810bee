#include <benchmark/benchmark.h>

#include "assets/shatter_pieces.h"

// Progress moves every iteration, as it does frame to frame in the show.
static void BM_ScreenShatterPieces(benchmark::State& state) {
    int points = static_cast<int>(state.range(0));
    float progress = 0;
    for (auto _ : state) {
        std::vector<ShatterPiece> pieces = screenShatterPieces(points, progress);
        benchmark::DoNotOptimize(pieces.data());
        progress += 0.01f;
    }
}
BENCHMARK(BM_ScreenShatterPieces)->Arg(20)->Arg(30);

static void BM_ImageShatterPieces(benchmark::State& state) {
    float progress = 0;
    for (auto _ : state) {
        std::vector<ShatterPiece> pieces = imageShatterPieces(progress);
        benchmark::DoNotOptimize(pieces.data());
        progress += 0.01f;
    }
}
BENCHMARK(BM_ImageShatterPieces);

BENCHMARK_MAIN();
