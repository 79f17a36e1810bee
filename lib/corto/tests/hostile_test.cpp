// Damaged and hostile streams fail with an error text, never a crash or a hang.
#include "crt_decoder.h"
#include "crt_encoder.h"
#include "vectors.h"

#include <gtest/gtest.h>

#include <dirent.h>

namespace {

// Decodes with every output requested; checks the success contract on the way.
bool decodes(const std::vector<uint8_t>& data, std::string* error = nullptr) {
    crt::Decoder dec(data.data(), data.size());
    if (!dec.ok()) {
        EXPECT_FALSE(dec.error().empty());
        if (error) *error = dec.error();
        return false;
    }
    std::vector<uint32_t> index(size_t(dec.nface()) * 3);
    std::vector<float> pos(size_t(dec.nvert()) * 3), uv(size_t(dec.nvert()) * 2), n(size_t(dec.nvert()) * 3);
    std::vector<float> radius(dec.nvert());
    std::vector<uint8_t> color(size_t(dec.nvert()) * 4);
    dec.setIndex(index.data());
    dec.setPositions(pos.data());
    dec.setUvs(uv.data());
    dec.setNormals(n.data());
    dec.setAttribute("radius", radius.data());
    dec.setColors(color.data(), 4);
    bool ok = dec.decode();
    if (error) *error = dec.error();
    if (!ok) {
        EXPECT_FALSE(dec.error().empty());
        return false;
    }
    for (uint32_t i : index) EXPECT_LT(i, dec.nvert());
    return true;
}

std::vector<uint8_t> vector(const char* name) { return readFile(vectorDir() + "/" + name + ".crt"); }

void put32(std::vector<uint8_t>& d, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) d[at + i] = uint8_t(v >> (8 * i));
}

TEST(Hostile, EveryTruncationFails) {
    for (const char* name : {"triangle", "bowtie_fan_none", "sphere_uv_color", "pointcloud", "icosphere_normals_delta",
                             "obj_two_materials", "tetrahedron_radius"}) {
        std::vector<uint8_t> full = vector(name);
        ASSERT_TRUE(decodes(full)) << name;
        for (size_t n = 0; n < full.size(); n++) {
            std::vector<uint8_t> cut(full.begin(), full.begin() + n);
            ASSERT_FALSE(decodes(cut)) << name << " cut at " << n;
        }
    }
}

TEST(Hostile, TrailingBytesAreIgnored) {
    std::vector<uint8_t> d = vector("cube");
    d.insert(d.end(), 7, 0xAB);
    EXPECT_TRUE(decodes(d));
}

TEST(Hostile, HeaderFieldsAreChecked) {
    const std::vector<uint8_t> base = vector("bowtie_fan_none");  // nvert at 39, nface at 43
    struct Case {
        size_t at;
        uint32_t value;
        const char* what;
    } cases[] = {
        {0, 0x12345678, "magic"},       {4, 2, "version"},         {39, 0xFFFFFFF0, "huge nvert"},
        {43, 0x7FFFFFFF, "huge nface"}, {39, 22, "nvert > 3 nface"}, {39, 15, "nvert above the decoded count"},
        {39, 13, "nvert below the decoded count"}, {43, 8, "nface past the groups"}, {47, 0, "no groups"},
        {47, 0x10000000, "huge group count"}, {51, 6, "group end short"}, {51, 9, "group end long"},
        {13, 0x40000000, "huge attribute count"}, {60, 0x7FFFFFFF, "huge symbol block"}, {89, 0x3FFFFFFF, "huge bit stream"},
        {132, 15, "bit length block longer than nvert"}, {132, 13, "bit length block shorter than nvert"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> d = base;
        put32(d, c.at, c.value);
        std::string error;
        EXPECT_FALSE(decodes(d, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
    std::vector<uint8_t> d = base;
    d[8] = 3;
    EXPECT_FALSE(decodes(d)) << "unknown entropy";
    d = base;
    d[17] = 0;
    d[18] = 0;
    EXPECT_FALSE(decodes(d)) << "empty string length";
    d = base;
    d[27] = 'x';
    EXPECT_FALSE(decodes(d)) << "string without terminator";
    d = base;
    d[36] = 0;
    EXPECT_FALSE(decodes(d)) << "zero components";
}

TEST(Hostile, ConnectivityIsChecked) {
    const std::vector<uint8_t> base = vector("bowtie_fan_none");  // symbols at 64, split words at 96
    std::vector<uint8_t> d = base;
    d[64] = 7;
    EXPECT_FALSE(decodes(d)) << "symbol above 6";
    d = base;
    d[64] = 1;
    EXPECT_FALSE(decodes(d)) << "LEFT at a component start";
    d = base;
    put32(d, 96, 0xFFFFFFFF);
    EXPECT_FALSE(decodes(d)) << "split index past the decoded vertices";
    d = base;
    for (int i = 65; i < 89; i++) d[i] = 5;
    EXPECT_FALSE(decodes(d)) << "endless delays";
    d = base;
    d[136] = 33;
    EXPECT_FALSE(decodes(d)) << "bit length above 32";
    d = base;
    d[137] = 32;
    EXPECT_FALSE(decodes(d)) << "bit stream exhausted";
}

TEST(Hostile, TunstallBlocksAreChecked) {
    // triangle: position bit lengths at 88: S=2, pairs, n=3 at 93, m=1 at 97, code at 101.
    const std::vector<uint8_t> base = vector("triangle");
    std::vector<uint8_t> d = base;
    put32(d, 97, 0);
    EXPECT_FALSE(decodes(d)) << "no codes";
    d = base;
    d[88] = 0;
    EXPECT_FALSE(decodes(d)) << "no symbols";
    d = base;
    put32(d, 93, 0x10000000);
    EXPECT_FALSE(decodes(d)) << "decoded length beyond the codes";
    d = base;
    put32(d, 97, 2);
    d.push_back(0x72);
    EXPECT_FALSE(decodes(d)) << "codes overrunning the decoded length";
}

TEST(Hostile, CallerMistakesAreErrors) {
    std::vector<uint8_t> d = vector("cube");
    crt::Decoder dec(d.data(), d.size());
    std::vector<float> pos(size_t(dec.nvert()) * 3);
    EXPECT_TRUE(dec.setPositions(pos.data()));
    EXPECT_FALSE(dec.setUvs(pos.data()));
    EXPECT_FALSE(dec.decode()) << "no index buffer";
    EXPECT_FALSE(dec.error().empty());

    crt::Decoder empty(nullptr, 0);
    EXPECT_FALSE(empty.ok());
    EXPECT_FALSE(empty.decode());

    uint32_t index[3] = {0, 1, 5};
    float xyz[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    crt::Encoder enc(3, 1);
    enc.setIndex(index);
    enc.addPositions(xyz, 0.01f);
    EXPECT_FALSE(enc.encode()) << "index past the vertex count";
    crt::Encoder none(3, 1);
    none.setIndex(index);
    EXPECT_FALSE(none.encode()) << "no positions";
}

TEST(Hostile, SeededMutationsFailCleanly) {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto rnd = [&]() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t(state >> 33);
    };
    int accepted = 0;
    for (const char* name : {"triangle", "cube", "plane_hole", "bowtie_fan", "sphere_uv_color", "pointcloud",
                             "icosphere_normals_border", "obj_two_materials", "soup_minimal_tunstall"}) {
        const std::vector<uint8_t> base = vector(name);
        for (int i = 0; i < 400; i++) {
            std::vector<uint8_t> d = base;
            int edits = 1 + int(rnd() % 4);
            for (int e = 0; e < edits; e++) {
                size_t at = rnd() % d.size();
                switch (rnd() % 4) {
                case 0: d[at] ^= uint8_t(1u << (rnd() % 8)); break;
                case 1: d[at] = uint8_t(rnd()); break;
                case 2: d[at] = rnd() % 2 ? 0xFF : 0; break;
                default: d.resize(std::max<size_t>(at, 1)); break;
                }
            }
            accepted += decodes(d);
        }
    }
    RecordProperty("accepted", accepted);
}

// Inputs the fuzzer found; each once broke the decoder.
TEST(Hostile, FuzzCrashersFailCleanly) {
    DIR* dir = opendir(CORTO_CRASHERS);
    if (!dir) GTEST_SKIP() << "no crasher folder";
    int count = 0;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name[0] == '.' || name == "README.md") continue;
        decodes(readFile(std::string(CORTO_CRASHERS) + "/" + name));
        count++;
    }
    closedir(dir);
    RecordProperty("crashers", count);
}

}  // namespace
