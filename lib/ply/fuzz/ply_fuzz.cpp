// PLY reader fuzz target: any bytes give buffers that hold what they claim,
// or a ply::Error. Any other exception, a crash or an overrun is a fault.
// The requests are the thorn's: positions, colours, faces, each optional.
#include "memory_stream.h"
#include "ply_reader.h"

#include <cstdint>

namespace {

std::shared_ptr<ply::Buffer> tryRequest(ply::File& file, const std::string& element,
                                        const std::vector<std::string>& properties) {
    try {
        return ply::request(file, element, properties);
    } catch (const ply::Error&) {
        return nullptr;
    }
}

// What read() promises: every row of the header read, each value whole.
void checkFilled(const ply::File& file, const ply::Request& request) {
    const ply::Buffer& buffer = *request.buffer;
    if (buffer.count != file.header.elements[request.element].count) __builtin_trap();
    if (buffer.bytes.size() % ply::typeSize(buffer.type) != 0) __builtin_trap();
    size_t values = buffer.width * buffer.count;
    if (buffer.width == 0) {
        if (buffer.listSizes.size() != buffer.count) __builtin_trap();
        values = 0;
        for (uint32_t n : buffer.listSizes) values += n;
    }
    if (ply::valueCount(buffer) != values) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ply::memory_stream in(reinterpret_cast<const char*>(data), size);
    try {
        ply::File file = ply::parseHeader(in);
        std::shared_ptr<ply::Buffer> xyz = tryRequest(file, "vertex", {"x", "y", "z"});
        std::shared_ptr<ply::Buffer> rgb = tryRequest(file, "vertex", {"red", "green", "blue"});
        std::shared_ptr<ply::Buffer> faces = tryRequest(file, "face", {"vertex_indices"});
        ply::read(file, in);
        for (const ply::Request& request : file.requests) checkFilled(file, request);

        for (const auto& buffer : {xyz, rgb}) {
            if (!buffer) continue;
            ply::toDouble(*buffer);
            ply::toFloat(*buffer);
            ply::toUint8(*buffer);
        }
        if (faces) {
            try {
                ply::toUint32(*faces);
            } catch (const ply::Error&) {
            }
            size_t vertices = xyz ? xyz->count : 0;
            for (uint32_t index : ply::toTriangles(*faces, vertices))
                if (index >= vertices) __builtin_trap();
        }
    } catch (const ply::Error&) {
    }
    return 0;
}
