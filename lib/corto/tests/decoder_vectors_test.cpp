// Every recorded stream decodes to exactly what the vectors list.
#include "crt_decoder.h"
#include "vectors.h"

#include <gtest/gtest.h>

#include <cstring>

using nlohmann::json;

namespace {

struct Decoded {
    std::vector<uint32_t> index;
    std::vector<float> position, uv, normal, radius;
    std::vector<uint8_t> rgba, rgb;
};

Decoded decodeAll(const std::vector<uint8_t>& data, int colorComponents, std::string* error = nullptr) {
    crt::Decoder dec(data.data(), data.size());
    Decoded d;
    d.index.resize(size_t(dec.nface()) * 3);
    d.position.resize(size_t(dec.nvert()) * 3);
    dec.setIndex(d.index.data());
    dec.setPositions(d.position.data());
    if (dec.hasAttribute("uv")) {
        d.uv.resize(size_t(dec.nvert()) * 2);
        dec.setUvs(d.uv.data());
    }
    if (dec.hasAttribute("normal")) {
        d.normal.resize(size_t(dec.nvert()) * 3);
        dec.setNormals(d.normal.data());
    }
    if (dec.hasAttribute("radius")) {
        d.radius.resize(dec.nvert());
        dec.setAttribute("radius", d.radius.data());
    }
    std::vector<uint8_t>& c = colorComponents == 4 ? d.rgba : d.rgb;
    if (dec.hasAttribute("color")) {
        c.resize(size_t(dec.nvert()) * colorComponents);
        dec.setColors(c.data(), colorComponents);
    }
    bool ok = dec.decode();
    if (error) *error = ok ? "" : dec.error();
    EXPECT_TRUE(ok) << dec.error();
    return d;
}

void expectFloats(const json& want, const std::vector<float>& got, const char* what) {
    ASSERT_EQ(want.size(), got.size()) << what;
    for (size_t i = 0; i < got.size(); i++)
        ASSERT_EQ(float(want[i].get<double>()), got[i]) << what << " " << i;
}

template <class T>
void expectInts(const json& want, const std::vector<T>& got, const char* what) {
    ASSERT_EQ(want.size(), got.size()) << what;
    for (size_t i = 0; i < got.size(); i++) ASSERT_EQ(want[i].get<int64_t>(), int64_t(got[i])) << what << " " << i;
}

class Vector : public ::testing::TestWithParam<std::string> {};

TEST_P(Vector, HeaderMatches) {
    json j = readJson(vectorDir() + "/" + GetParam() + ".json");
    std::vector<uint8_t> data = readFile(vectorDir() + "/" + GetParam() + ".crt");
    ASSERT_EQ(data.size(), j["crt_size"].get<size_t>());
    crt::Decoder dec(data.data(), data.size());
    ASSERT_TRUE(dec.ok()) << dec.error();
    EXPECT_EQ(dec.nvert(), j["nvert"].get<uint32_t>());
    EXPECT_EQ(dec.nface(), j["nface"].get<uint32_t>());
    EXPECT_EQ(dec.exif, j["exif"].get<decltype(dec.exif)>());
    ASSERT_EQ(dec.attributes.size(), j["attributes"].size());
    for (size_t i = 0; i < dec.attributes.size(); i++) {
        const json& a = j["attributes"][i];
        const crt::AttributeInfo& got = dec.attributes[i];
        EXPECT_EQ(got.name, a["name"]);
        EXPECT_EQ(got.codec, a["codec"].get<uint32_t>());
        uint32_t bits;
        memcpy(&bits, &got.q, 4);
        EXPECT_EQ(bits, std::stoul(a["q_bits"].get<std::string>(), nullptr, 16));
        EXPECT_EQ(got.components, a["components"].get<int>());
        EXPECT_EQ(got.strategy, a["strategy"].get<int>());
    }
    ASSERT_EQ(dec.groups.size(), j["groups"].size());
    for (size_t i = 0; i < dec.groups.size(); i++) {
        EXPECT_EQ(dec.groups[i].end, j["groups"][i]["end"].get<uint32_t>());
        EXPECT_EQ(dec.groups[i].properties, (j["groups"][i]["properties"].get<std::map<std::string, std::string>>()));
    }
}

TEST_P(Vector, OutputsMatch) {
    json j = readJson(vectorDir() + "/" + GetParam() + ".json");
    std::vector<uint8_t> data = readFile(vectorDir() + "/" + GetParam() + ".crt");
    Decoded d = decodeAll(data, 4);
    if (j.contains("binary_file")) {
        std::vector<uint8_t> bin = readFile(vectorDir() + "/" + j["binary_file"].get<std::string>());
        for (const json& a : j["binary_arrays"]) {
            size_t count = a["count"], offset = a["offset"];
            ASSERT_LE(offset + count * 4, bin.size());
            if (a["name"] == "index") {
                ASSERT_EQ(d.index.size(), count);
                EXPECT_EQ(0, memcmp(d.index.data(), bin.data() + offset, count * 4));
            } else if (a["name"] == "position") {
                ASSERT_EQ(d.position.size(), count);
                EXPECT_EQ(0, memcmp(d.position.data(), bin.data() + offset, count * 4));
            }
        }
        return;
    }
    if (j.contains("index")) expectInts(j["index"], d.index, "index");
    expectFloats(j["position"], d.position, "position");
    if (j.contains("uv")) expectFloats(j["uv"], d.uv, "uv");
    if (j.contains("radius")) expectFloats(j["radius"], d.radius, "radius");
    if (j.contains("color_rgba")) expectInts(j["color_rgba"], d.rgba, "rgba");
    if (j.contains("color_rgb")) expectInts(j["color_rgb"], decodeAll(data, 3).rgb, "rgb");
    if (j.contains("normal")) {
        ASSERT_EQ(j["normal"].size(), d.normal.size());
        for (size_t i = 0; i < d.normal.size(); i++) EXPECT_NEAR(j["normal"][i].get<double>(), d.normal[i], 2e-6) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Corto, Vector, ::testing::ValuesIn(vectorNames()),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

TEST(DecoderVectors, AllPresent) { EXPECT_EQ(vectorNames().size(), 19u) << vectorDir(); }

}  // namespace
