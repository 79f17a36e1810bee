// Triangulation cost at the sprite size (14 points) and well beyond it.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "delaunay.h"

namespace {

// Corners first, then random points with the sprites' float32 coordinates.
std::vector<double> spriteLikePoints(size_t count) {
    std::vector<double> xy = {-1, -1, 1, -1, 1, 1, -1, 1};
    std::mt19937 rng(4234);
    std::uniform_int_distribution<int> r(0, 32767);
    while (xy.size() < 2 * count) xy.push_back(double(float(r(rng) / 32767.0 * 2 - 1)));
    return xy;
}

void BM_Triangulate(benchmark::State& state) {
    std::vector<double> xy = spriteLikePoints(size_t(state.range(0)));
    for (auto _ : state) {
        delaunay::Triangulation t = delaunay::triangulate(xy.data(), xy.size() / 2);
        benchmark::DoNotOptimize(t.triangles.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Triangulate)->Arg(14)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
