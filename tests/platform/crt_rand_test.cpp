#include "platform/crt_rand.h"

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

static std::vector<long long> numbersIn(const std::string& list) {
    std::vector<long long> out;
    std::stringstream ss(list);
    std::string item;
    while (std::getline(ss, item, ',')) out.push_back(std::stoll(item));
    return out;
}

// The reference sequences were produced by the C runtime whose layouts the
// show reproduces; every value must match, including srand(0).
TEST(CrtRand, MatchesReferenceSequences) {
    std::ifstream in(std::string(TORVANEL_SOURCE_DIR) + "/tests/platform/vectors/msvc_rand.json");
    ASSERT_TRUE(in) << "reference values not found";
    std::stringstream text;
    text << in.rdbuf();
    std::string json = text.str();

    int checked = 0;
    for (size_t at = json.find("\"seed\":"); at != std::string::npos; at = json.find("\"seed\":", at + 1)) {
        uint32_t seed = static_cast<uint32_t>(std::stoul(json.substr(at + 7)));
        size_t open = json.find("\"first20\":[", at);
        ASSERT_NE(open, std::string::npos);
        open += 11;
        std::vector<long long> expected = numbersIn(json.substr(open, json.find(']', open) - open));
        crtSrand(seed);
        for (size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(crtRand(), expected[k]) << "seed " << seed << " call " << k;
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

TEST(CrtRand, ReseedingRestartsTheSequence) {
    crtSrand(4234);
    int first = crtRand();
    crtRand();
    crtSrand(4234);
    EXPECT_EQ(crtRand(), first);
    for (int k = 0; k < 1000; ++k) {
        int r = crtRand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, CRT_RAND_MAX);
    }
}

TEST(CrtRand, DiscardJumpsAheadExactly) {
    for (uint64_t n : {0ull, 1ull, 2ull, 3ull, 1000ull, 21000ull, (1ull << 20) + 3, 123457ull}) {
        crtSrand(4234);
        for (uint64_t i = 0; i < n; i++) crtRand();
        int stepped[3] = {crtRand(), crtRand(), crtRand()};
        crtSrand(4234);
        crtDiscard(n);
        for (int expected : stepped) EXPECT_EQ(crtRand(), expected) << n;
    }
}
