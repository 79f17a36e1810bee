// Decoder fuzz target: any input must decode or fail cleanly, within the declared buffers.
#include "crt_decoder.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    crt::DecoderLimits limits;
    limits.maxVertices = 1u << 20;
    limits.maxFaces = 1u << 20;
    crt::Decoder dec(data, size, limits);
    if (!dec.ok()) return 0;
    std::vector<uint32_t> index(size_t(dec.nface()) * 3);
    std::vector<float> pos(size_t(dec.nvert()) * 3), uv(size_t(dec.nvert()) * 2), normal(size_t(dec.nvert()) * 3);
    std::vector<uint8_t> color(size_t(dec.nvert()) * 3);
    dec.setIndex(index.data());
    dec.setPositions(pos.data());
    dec.setUvs(uv.data());
    dec.setNormals(normal.data());
    dec.setColors(color.data(), 3);
    if (dec.decode())
        for (uint32_t i : index)
            if (i >= dec.nvert()) __builtin_trap();
    return 0;
}
