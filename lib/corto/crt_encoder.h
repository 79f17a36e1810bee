// Encoder for compressed mesh streams (.crt), readable by crt::Decoder.
//
//   crt::Encoder enc(nvert, nface);                 // nface 0: point cloud
//   enc.setIndex(index);                            // 3 per face
//   enc.addPositions(xyz, crt::edgeStep(xyz, index, nface));
//   enc.addUvs(uv, 12);  enc.addColors(rgba, 4);  enc.addNormals(n, 10, crt::NORMAL_BORDER);
//   if (!enc.encode()) puts(enc.error().c_str());
//   write(enc.stream);
//
// Input arrays are caller-owned and must live until encode(). Values are quantised by
// truncation toward zero (q = step). Degenerate faces and unreferenced vertices are dropped;
// vertexOrder() maps every stored vertex to its input vertex.
#pragma once
#include "crt_decoder.h"
#include "crt_stream.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace crt {

// Default position steps: mean length of the faces' first edge / 20 (meshes), largest axis
// extent / 2^bits, and 0.02 x (dx dy dz)^(2/3) / nvert (point clouds; 0 for flat clouds).
float edgeStep(const float* xyz, const uint32_t* index, uint32_t nface);
float bitsStep(const float* xyz, uint32_t nvert, int bits);
float cloudStep(const float* xyz, uint32_t nvert);

class Encoder {
public:
    Encoder(uint32_t nvert, uint32_t nface, Entropy entropy = ENTROPY_TUNSTALL);

    void setIndex(const uint32_t* index) { index_ = index; }
    void addPositions(const float* xyz, float step) { addAttribute("position", xyz, 3, step); }
    void addUvs(const float* uv, int bits = 12);
    void addAttribute(const std::string& name, const float* values, int components, float step);
    // Bits per channel R, G, B, A (1..8); components 3 (RGB) or 4 (RGBA).
    void addColors(const uint8_t* colors, int components, const int bits[4] = nullptr);
    void addNormals(const float* normals, int bits = 10, NormalPrediction mode = NORMAL_ESTIMATED);
    void addGroup(uint32_t end, const std::map<std::string, std::string>& properties = {});

    std::map<std::string, std::string> exif;

    bool encode();
    const std::string& error() const { return error_; }
    const std::vector<uint32_t>& vertexOrder() const { return order_; }

    std::vector<uint8_t> stream;

private:
    struct Input {
        AttributeInfo info;
        const float* values = nullptr;
        const uint8_t* colors = nullptr;
        int bits[4] = {};
        NormalPrediction mode = NORMAL_DIFF;
    };

    uint32_t nvert_, nface_;
    Entropy entropy_;
    const uint32_t* index_ = nullptr;
    std::vector<Input> inputs_;
    std::vector<Group> groups_;
    std::vector<uint32_t> order_;
    std::string error_;
};

}  // namespace crt
