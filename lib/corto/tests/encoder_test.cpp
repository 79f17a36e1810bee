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

std::array<uint32_t, 3> canonical(const uint32_t* f) {
    int k = int(std::min_element(f, f + 3) - f);
    return {f[k], f[(k + 1) % 3], f[(k + 2) % 3]};
}

class Encode : public ::testing::TestWithParam<std::string> {};

TEST_P(Encode, RoundTripAndSize) {
    json j = readJson(vectorDir() + "/" + GetParam() + ".json");
    if (!j.contains("input_mesh")) GTEST_SKIP() << "no input mesh recorded";
    MeshIn in = meshFromJson(j["input_mesh"]);
    VectorEncoding ve = encodeVector(GetParam(), j, in);
    crt::Encoder& enc = *ve.encoder;
    const float q = attributeQ(j, "position"), quv = attributeQ(j, "uv");
    const int* bits = ve.colorBits;
    const bool border = ve.border;
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
        if (!in.radius.empty()) {
            ASSERT_NEAR(radius[i], in.radius[o], 1.0);
        }
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

// The long ribbon has no recorded input; it is rebuilt from its description.
TEST(EncodeRibbon, SizeAndIndexWidth) {
    const uint32_t rows = 22000;
    std::vector<float> pos;
    std::vector<uint32_t> index;
    for (uint32_t i = 0; i < rows; i++)
        for (int k = 0; k < 3; k++) {
            double a = 0.01 * i, w = 0.05 * (k - 1);
            pos.insert(pos.end(), {float(std::cos(a) * (1 + w)), float(std::sin(a) * (1 + w)), float(0.002 * i)});
        }
    for (uint32_t i = 0; i + 1 < rows; i++)
        for (uint32_t k = 0; k < 2; k++) {
            uint32_t v = 3 * i + k;
            index.insert(index.end(), {v, v + 3, v + 1, v + 1, v + 3, v + 4});
        }
    json j = readJson(vectorDir() + "/big_ribbon.json");
    crt::Encoder enc(rows * 3, uint32_t(index.size() / 3));
    enc.setIndex(index.data());
    enc.addPositions(pos.data(), attributeQ(j, "position"));
    ASSERT_TRUE(enc.encode()) << enc.error();
    EXPECT_LE(double(enc.stream.size()), 1.10 * j["crt_size"].get<double>());
    crt::Decoder dec(enc.stream.data(), enc.stream.size());
    std::vector<uint32_t> out(size_t(dec.nface()) * 3);
    std::vector<float> p(size_t(dec.nvert()) * 3);
    dec.setIndex(out.data());
    dec.setPositions(p.data());
    ASSERT_TRUE(dec.decode()) << dec.error();
    EXPECT_EQ(dec.nvert(), rows * 3);
    EXPECT_GT(*std::max_element(out.begin(), out.end()), 65535u);
}

INSTANTIATE_TEST_SUITE_P(Corto, Encode, ::testing::ValuesIn(vectorNames()),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

}  // namespace
