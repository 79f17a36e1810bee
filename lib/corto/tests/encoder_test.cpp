// The encoder reproduces every vector's input mesh within quantisation, at most 10% larger
// than the recorded stream.
#include "crt_decoder.h"
#include "crt_encoder.h"
#include "vectors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

using nlohmann::json;

namespace {

struct MeshIn {
    uint32_t nvert = 0, nface = 0;
    std::vector<float> position, uv, normal, radius;
    std::vector<uint8_t> color;
    int colorComponents = 0;
    std::vector<uint32_t> index;
};

template <class T>
void flatten(const json& rows, std::vector<T>& out) {
    for (const json& r : rows)
        for (const json& v : r) out.push_back(T(v.get<double>()));
}

MeshIn meshFromJson(const json& m) {
    MeshIn in;
    in.nvert = m["vertex_count"];
    in.nface = m["face_count"];
    flatten(m["positions"], in.position);
    if (m.contains("faces")) flatten(m["faces"], in.index);
    if (m.contains("uvs")) flatten(m["uvs"], in.uv);
    if (m.contains("normals")) flatten(m["normals"], in.normal);
    if (m.contains("radius"))
        for (const json& v : m["radius"]) in.radius.push_back(v.get<float>());
    if (m.contains("colors")) {
        flatten(m["colors"], in.color);
        in.colorComponents = int(m["colors"][0].size());
    }
    return in;
}

float attributeQ(const json& j, const std::string& name) {
    for (const json& a : j["attributes"]) {
        if (a["name"] != name) continue;
        uint32_t bits = uint32_t(std::stoul(a["q_bits"].get<std::string>(), nullptr, 16));
        float q;
        memcpy(&q, &bits, 4);
        return q;
    }
    return 0;
}

std::array<uint32_t, 3> canonical(const uint32_t* f) {
    int k = int(std::min_element(f, f + 3) - f);
    return {f[k], f[(k + 1) % 3], f[(k + 2) % 3]};
}

class Encode : public ::testing::TestWithParam<std::string> {};

TEST_P(Encode, RoundTripAndSize) {
    json j = readJson(vectorDir() + "/" + GetParam() + ".json");
    if (!j.contains("input_mesh")) GTEST_SKIP() << "no input mesh recorded";
    MeshIn in = meshFromJson(j["input_mesh"]);
    crt::Encoder enc(in.nvert, in.nface, crt::Entropy(j["entropy"].get<int>()));
    enc.setIndex(in.index.data());
    const float q = attributeQ(j, "position");
    enc.addPositions(in.position.data(), q);
    const float quv = attributeQ(j, "uv");
    if (!in.uv.empty()) enc.addUvs(in.uv.data(), -std::ilogb(quv));
    if (!in.radius.empty()) enc.addAttribute("radius", in.radius.data(), 1, attributeQ(j, "radius"));
    int bits[4] = {6, 7, 6, 5};
    if (GetParam() == "sphere_v10_u8_c4") std::fill(bits, bits + 4, 4);
    if (in.colorComponents) enc.addColors(in.color.data(), in.colorComponents, bits);
    bool border = GetParam().find("border") != std::string::npos;
    if (!in.normal.empty()) enc.addNormals(in.normal.data(), 10, border ? crt::NORMAL_BORDER : crt::NORMAL_DIFF);
    for (const json& g : j["groups"]) enc.addGroup(g["end"], g["properties"].get<std::map<std::string, std::string>>());
    enc.exif = j["exif"].get<std::map<std::string, std::string>>();
    ASSERT_TRUE(enc.encode()) << enc.error();

    EXPECT_LE(double(enc.stream.size()), 1.10 * j["crt_size"].get<double>());
    RecordProperty("size", int(enc.stream.size()));

    crt::Decoder dec(enc.stream.data(), enc.stream.size());
    ASSERT_TRUE(dec.ok()) << dec.error();
    const std::vector<uint32_t>& order = enc.vertexOrder();
    ASSERT_EQ(dec.nvert(), order.size());
    EXPECT_EQ(dec.exif, enc.exif);
    std::vector<uint32_t> index(size_t(dec.nface()) * 3);
    std::vector<float> pos(size_t(dec.nvert()) * 3), uv(size_t(dec.nvert()) * 2), normal(size_t(dec.nvert()) * 3);
    std::vector<float> radius(dec.nvert());
    std::vector<uint8_t> color(size_t(dec.nvert()) * 4);
    dec.setIndex(index.data());
    dec.setPositions(pos.data());
    dec.setUvs(uv.data());
    dec.setNormals(normal.data());
    dec.setAttribute("radius", radius.data());
    dec.setColors(color.data(), 4);
    ASSERT_TRUE(dec.decode()) << dec.error();

    for (uint32_t i = 0; i < dec.nvert(); i++) {
        uint32_t o = order[i];
        for (int c = 0; c < 3; c++) ASSERT_NEAR(pos[i * 3 + c], in.position[o * 3 + c], q * 1.001) << i;
        for (int c = 0; c < 2 && !in.uv.empty(); c++) ASSERT_NEAR(uv[i * 2 + c], in.uv[o * 2 + c], quv * 1.001);
        if (!in.radius.empty()) ASSERT_NEAR(radius[i], in.radius[o], 1.0);
        for (int c = 0; c < in.colorComponents; c++) {
            int step = 1 << (8 - bits[c]);
            ASSERT_EQ(color[i * 4 + c], in.color[o * in.colorComponents + c] / step * step);
        }
        if (!in.normal.empty()) {
            float dot = 0;
            for (int c = 0; c < 3; c++) dot += normal[i * 3 + c] * in.normal[o * 3 + c];
            ASSERT_GT(dot, border ? 0.98f : 0.999f) << i;
        }
    }

    // Same faces (up to rotation), as a multiset; degenerate input faces are dropped.
    std::vector<std::array<uint32_t, 3>> want, got;
    for (uint32_t f = 0; f < in.nface; f++) {
        const uint32_t* c = &in.index[f * 3];
        if (c[0] != c[1] && c[1] != c[2] && c[0] != c[2]) want.push_back(canonical(c));
    }
    for (uint32_t f = 0; f < dec.nface(); f++) {
        uint32_t c[3] = {order[index[f * 3]], order[index[f * 3 + 1]], order[index[f * 3 + 2]]};
        got.push_back(canonical(c));
    }
    std::sort(want.begin(), want.end());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(want, got);
}

INSTANTIATE_TEST_SUITE_P(Corto, Encode, ::testing::ValuesIn(vectorNames()),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

}  // namespace
