// Reading a 100k-vertex, 200k-triangle binary model from memory.
#include "memory_stream.h"
#include "ply_reader.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<char> gridModel(int side)
{
    int vertices = side * side;
    int faces = 2 * (side - 1) * (side - 1);
    std::string header = "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(vertices) +
                         "\nproperty float x\nproperty float y\nproperty float z\n"
                         "property uchar red\nproperty uchar green\nproperty uchar blue\n"
                         "element face " + std::to_string(faces) +
                         "\nproperty list uchar int vertex_indices\nend_header\n";
    std::vector<char> out(header.begin(), header.end());
    auto add = [&out](const void* p, size_t n) { out.insert(out.end(), (const char*)p, (const char*)p + n); };
    for (int i = 0; i < vertices; i++) {
        float p[3] = {float(i % side), float(i / side), 0.5f};
        unsigned char c[3] = {uint8_t(i), uint8_t(i >> 8), 7};
        add(p, sizeof p);
        add(c, sizeof c);
    }
    for (int y = 0; y + 1 < side; y++)
        for (int x = 0; x + 1 < side; x++) {
            int a = y * side + x, b = a + 1, c = a + side, d = c + 1;
            int tris[2][3] = {{a, b, c}, {b, d, c}};
            for (auto& t : tris) {
                unsigned char n = 3;
                add(&n, 1);
                add(t, sizeof t);
            }
        }
    return out;
}

void BM_ReadBinaryModel(benchmark::State& state)
{
    std::vector<char> bytes = gridModel(317); // 100,489 vertices
    for (auto _ : state) {
        ply::memory_stream in(bytes.data(), bytes.size());
        ply::File file = ply::parseHeader(in);
        auto xyz = ply::request(file, "vertex", {"x", "y", "z"});
        auto rgb = ply::request(file, "vertex", {"red", "green", "blue"});
        auto faces = ply::request(file, "face", {"vertex_indices"});
        ply::read(file, in);
        benchmark::DoNotOptimize(faces->bytes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_ReadBinaryModel)->Unit(benchmark::kMillisecond);

} // namespace
