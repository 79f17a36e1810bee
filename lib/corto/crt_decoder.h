// Decoder for compressed mesh streams (.crt).
//
//   crt::Decoder dec(data, size);             // parses the header; never throws
//   if (!dec.ok()) puts(dec.error().c_str());
//   std::vector<float> pos(3 * dec.nvert());
//   std::vector<uint32_t> index(3 * dec.nface());
//   dec.setPositions(pos.data());            // each set* returns false when the stream lacks it
//   dec.setIndex(index.data());
//   dec.setUvs(uv);  dec.setColors(rgb, 3);  dec.setNormals(n);  dec.setAttribute("radius", r);
//   if (!dec.decode()) puts(dec.error().c_str());   // meshes and point clouds (nface == 0)
//
// Every damaged or hostile stream makes ok()/decode() false with a one-line error text; no
// exception leaves the decoder. Output buffers are caller-owned and sized from nvert()/nface():
// positions and normals 3 floats, uvs 2 floats, colours `components` (3 or 4) bytes per vertex,
// generic attributes `components` floats per vertex, index 3 per face. The input buffer needs
// no alignment and must outlive decode(). Vertices come out in coding order (Morton order for
// point clouds), indices always below nvert().
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace crt {

enum Codec : uint32_t { CODEC_GENERIC = 1, CODEC_NORMAL = 2, CODEC_COLOR = 3 };
enum Strategy : uint8_t { STRATEGY_PARALLEL = 1, STRATEGY_CORRELATED = 2 };
enum NormalPrediction : uint8_t { NORMAL_DIFF = 0, NORMAL_ESTIMATED = 1, NORMAL_BORDER = 2 };

struct AttributeInfo {
    std::string name;
    uint32_t codec = CODEC_GENERIC;  // unknown codecs decode as generic
    float q = 0;
    uint8_t components = 0;
    uint8_t format = 0;
    uint8_t strategy = 0;
};

struct Group {
    uint32_t end = 0;  // one past the group's last face, counted over the whole mesh
    std::map<std::string, std::string> properties;
};

struct DecoderLimits {
    uint32_t maxVertices = 1u << 24;
    uint32_t maxFaces = 1u << 24;
};

class Decoder {
public:
    Decoder(const uint8_t* data, size_t size, DecoderLimits limits = {});

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    uint32_t nvert() const { return nvert_; }
    uint32_t nface() const { return nface_; }
    bool hasAttribute(const std::string& name) const;

    std::map<std::string, std::string> exif;
    std::vector<AttributeInfo> attributes;  // in stream order
    std::vector<Group> groups;

    bool setPositions(float* out) { return setOutput("position", out); }
    bool setUvs(float* out) { return setOutput("uv", out); }
    bool setNormals(float* out) { return setOutput("normal", out); }
    bool setAttribute(const std::string& name, float* out) { return setOutput(name, out); }
    bool setColors(uint8_t* out, int components = 4);
    void setIndex(uint32_t* out) { index_ = out; }

    bool decode();

private:
    bool setOutput(const std::string& name, void* out);

    const uint8_t* data_;
    size_t size_;
    size_t body_ = 0;  // offset after the groups
    uint32_t nvert_ = 0;
    uint32_t nface_ = 0;
    uint8_t entropy_ = 0;
    std::string error_;
    uint32_t* index_ = nullptr;
    std::vector<void*> outputs_;  // per attribute, parallel to attributes
    int colorComponents_ = 4;
    bool decoded_ = false;
};

}  // namespace crt
