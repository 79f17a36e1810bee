// Frame-file fuzz target: any bytes give a frame the upload and the drawing
// can take as it is, or an empty one with a message; its picture compresses
// as the loader compresses it. A crash, an overrun or an escaping exception
// is a fault.
//
// The seeds are small frame files written by torvanel-mesh encode: a quad
// with uvs and an RGB PNG, a coloured triangle with a grey JPEG, a point
// cloud with an RGBA PNG, a quad with a 16-bit PNG, a quad with no picture;
// and the triangle with its JPEG's header claiming 30000 x 30000 pixels.
#include <opencv2/core.hpp>

#include "assets/mesh_sequence.h"
#include "render/dxt1.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The show decodes at full scale in colour; the low bits of the size
    // (trailing bytes are ignored) reach the scaled and grey paths too.
    MeshSequence sequence;
    sequence.grayscale = (size & 1) != 0;
    sequence.pictureScale = (size & 2) ? 0.5f : 1.0f;
    MeshFrame frame = parseMeshFrame(sequence, data, size, true, "fuzz input");
    computeNormals(frame);

    size_t vertices = frame.positions.size() / 3;
    if (frame.positions.size() % 3 != 0 || frame.uvs.size() != vertices * 2 || frame.normals.size() != vertices * 3)
        __builtin_trap();
    if (frame.indices.size() % 3 != 0) __builtin_trap();
    for (uint16_t index : frame.indices)
        if (index >= vertices) __builtin_trap();
    // The upload takes 8-bit B, G, R (one grey channel for grey sequences).
    if (!frame.picture.empty() && frame.picture.type() != (sequence.grayscale ? CV_8UC1 : CV_8UC3))
        __builtin_trap();
    if (frame.picture.type() == CV_8UC3 &&
        encodeDxt1(frame.picture).size() != dxt1Size(frame.picture.cols, frame.picture.rows))
        __builtin_trap();
    return 0;
}
