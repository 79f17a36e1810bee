// Decoder speed on a textured frame, on the shared test streams and on the
// streams of a folder of frame files (CORTO_FRAME_FILES=Resources/DemoQTR),
// encoder speed, and our stream sizes against the recorded ones (printed
// before the timings).
#include "crt_decoder.h"
#include "crt_encoder.h"
#include "../tests/vectors.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// A bumpy UV sphere with a seam, standing in for one captured figure frame.
struct Frame {
    std::vector<float> position, uv;
    std::vector<uint32_t> index;
};

Frame makeFrame(int rings, int segments) {
    Frame f;
    for (int r = 0; r <= rings; r++)
        for (int s = 0; s <= segments; s++) {
            double th = M_PI * r / rings, ph = 2 * M_PI * s / segments;
            double rad = 900 * (1 + 0.08 * std::sin(5 * th) * std::cos(3 * ph));
            f.position.insert(f.position.end(), {float(rad * std::sin(th) * std::cos(ph)),
                                                 float(rad * std::sin(th) * std::sin(ph)), float(rad * std::cos(th))});
            f.uv.insert(f.uv.end(), {float(s) / segments, float(r) / rings});
        }
    for (int r = 0; r < rings; r++)
        for (int s = 0; s < segments; s++) {
            uint32_t a = r * (segments + 1) + s, b = a + segments + 1;
            if (r > 0) f.index.insert(f.index.end(), {a, b, a + 1});
            if (r + 1 < rings) f.index.insert(f.index.end(), {a + 1, b, b + 1});
        }
    return f;
}

std::vector<uint8_t> encodeFrame(const Frame& f) {
    uint32_t nface = uint32_t(f.index.size() / 3);
    crt::Encoder enc(uint32_t(f.position.size() / 3), nface);
    enc.setIndex(f.index.data());
    enc.addPositions(f.position.data(), crt::edgeStep(f.position.data(), f.index.data(), nface));
    enc.addUvs(f.uv.data(), 12);
    enc.encode();
    return enc.stream;
}

void BM_DecodeFrame(benchmark::State& state) {
    Frame f = makeFrame(int(state.range(0)), int(state.range(0)) * 2);
    std::vector<uint8_t> crt = encodeFrame(f);
    crt::Decoder probe(crt.data(), crt.size());
    std::vector<uint32_t> index(size_t(probe.nface()) * 3);
    std::vector<float> pos(size_t(probe.nvert()) * 3), uv(size_t(probe.nvert()) * 2);
    for (auto _ : state) {
        crt::Decoder dec(crt.data(), crt.size());
        dec.setIndex(index.data());
        dec.setPositions(pos.data());
        dec.setUvs(uv.data());
        if (!dec.decode()) state.SkipWithError(dec.error().c_str());
        benchmark::DoNotOptimize(pos.data());
    }
    state.counters["triangles"] = double(probe.nface());
    state.counters["bytes"] = double(crt.size());
    state.counters["Mtri/s"] = benchmark::Counter(probe.nface() * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(crt.size()));
}
BENCHMARK(BM_DecodeFrame)->Arg(40)->Arg(80)->Unit(benchmark::kMicrosecond);

// Every attribute of a stream decoded into buffers of its own.
struct Decoded {
    std::vector<uint32_t> index;
    std::vector<float> position, uv, normal, radius;
    std::vector<uint8_t> color;
};

bool decodeAll(const std::vector<uint8_t>& stream, Decoded& out) {
    crt::Decoder dec(stream.data(), stream.size());
    if (!dec.ok()) return false;
    size_t n = dec.nvert();
    out.index.resize(size_t(dec.nface()) * 3);
    out.position.resize(n * 3);
    out.uv.resize(n * 2);
    out.normal.resize(n * 3);
    out.radius.resize(n);
    out.color.resize(n * 4);
    dec.setIndex(out.index.data());
    dec.setPositions(out.position.data());
    dec.setUvs(out.uv.data());
    dec.setNormals(out.normal.data());
    dec.setColors(out.color.data(), 4);
    dec.setAttribute("radius", out.radius.data());
    return dec.decode();
}

// Decoding a whole set of streams, in vertices a second.
void decodeSet(benchmark::State& state, const std::vector<std::vector<uint8_t>>& streams) {
    if (streams.empty()) {
        state.SkipWithError("no streams");
        return;
    }
    double vertices = 0;
    for (const auto& s : streams) vertices += crt::Decoder(s.data(), s.size()).nvert();
    Decoded out;
    for (auto _ : state)
        for (const auto& s : streams)
            if (!decodeAll(s, out)) state.SkipWithError("a stream does not decode");
    state.counters["streams"] = double(streams.size());
    state.counters["Mvert/s"] = benchmark::Counter(vertices * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

// The shared test vectors' streams.
void BM_DecodeTestStreams(benchmark::State& state) {
    std::vector<std::vector<uint8_t>> streams;
    for (const std::string& name : vectorNames()) {
        std::vector<uint8_t> bytes = readFile(vectorDir() + "/" + name + ".crt");
        if (!bytes.empty()) streams.push_back(bytes);
    }
    decodeSet(state, streams);
}
BENCHMARK(BM_DecodeTestStreams)->Unit(benchmark::kMillisecond);

// The streams inside the show's frame files (int32 length, then the stream),
// from the folder CORTO_FRAME_FILES names.
void BM_DecodeFrameFileStreams(benchmark::State& state) {
    std::vector<std::vector<uint8_t>> streams;
    const char* folder = getenv("CORTO_FRAME_FILES");
    if (folder)
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (entry.path().extension() != ".cor") continue;
            std::vector<uint8_t> file = readFile(entry.path().string());
            uint32_t length = 0;
            if (file.size() < 4) continue;
            memcpy(&length, file.data(), 4);
            if (length <= file.size() - 4) streams.emplace_back(file.begin() + 4, file.begin() + 4 + length);
        }
    decodeSet(state, streams);
}
BENCHMARK(BM_DecodeFrameFileStreams)->Unit(benchmark::kMillisecond);

void BM_EncodeFrame(benchmark::State& state) {
    Frame f = makeFrame(int(state.range(0)), int(state.range(0)) * 2);
    for (auto _ : state) benchmark::DoNotOptimize(encodeFrame(f).size());
    state.counters["Mtri/s"] =
        benchmark::Counter(double(f.index.size() / 3) * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EncodeFrame)->Arg(80)->Unit(benchmark::kMicrosecond);

void printSizeTable() {
    std::printf("%-26s %8s %8s %7s\n", "vector", "real", "ours", "ratio");
    for (const std::string& name : vectorNames()) {
        nlohmann::json j = readJson(vectorDir() + "/" + name + ".json");
        if (!j.contains("input_mesh")) continue;
        MeshIn in = meshFromJson(j["input_mesh"]);
        VectorEncoding ve = encodeVector(name, j, in);
        if (!ve.encoder->encode()) continue;
        double real = j["crt_size"];
        std::printf("%-26s %8.0f %8zu %7.3f\n", name.c_str(), real, ve.encoder->stream.size(),
                    ve.encoder->stream.size() / real);
    }
}

}  // namespace

int main(int argc, char** argv) {
    printSizeTable();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
