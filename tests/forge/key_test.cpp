#include "key.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

// What the forge writes on a cut edge is what the clip shader reads back:
// the coverage, and a colour close to the paper's own.
TEST(SoftKey, CoverageAndColourSurviveTheRoundTrip) {
    const cv::Vec3f colours[] = {{0.83f, 0.92f, 0.96f}, {0.08f, 0.09f, 0.11f}, {0.2f, 0.25f, 0.7f}, {0.45f, 0.5f, 0.52f}};
    for (cv::Vec3f c : colours)
        for (float a = 0.05f; a < 1.0f; a += 0.05f) {
            cv::Vec3b t = keyedTexel(c, a);
            EXPECT_NEAR(keyCoverage(t), a, 0.03f) << c << " at " << a;
            cv::Vec3f shown = shownColour(t);
            EXPECT_NEAR(shown[0], c[0], 0.03f) << c << " at " << a;
            EXPECT_NEAR(shown[2], c[2], 0.03f) << c << " at " << a;
            EXPECT_LE(shown[1], std::max(shown[0], shown[2]) + 0.01f) << "no key green left at " << a;
        }
    EXPECT_EQ(keyedTexel(colours[0], 0.0f), kKeyColour);
    EXPECT_EQ(keyCoverage(kKeyColour), 0.0f);
}

// A sprite drawn larger than its picture shows texels the sampler blends
// between the paper and its edge: they read as paper too, not as a dark line.
TEST(SoftKey, BlendsAcrossTheEdgeReadAsPaper) {
    const cv::Vec3f paper(0.83f, 0.92f, 0.96f);
    cv::Vec3b whole = keyedTexel(paper, 1.0f);
    for (float a = 0.3f; a < 1.0f; a += 0.1f) {
        cv::Vec3b edge = keyedTexel(paper, a), blend;
        for (int k = 0; k < 3; ++k) blend[k] = static_cast<uchar>((whole[k] + edge[k] + 1) / 2);
        cv::Vec3f shown = shownColour(blend);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(shown[k], paper[k], 0.04f) << "blend with the edge at " << a;
    }
}

// Paper and ink are whole, and a drawing's own green stays below the key.
TEST(SoftKey, PaperStaysWhole) {
    for (cv::Vec3f c : {cv::Vec3f(0.83f, 0.92f, 0.96f), cv::Vec3f(0.0f, 1.0f, 0.0f), cv::Vec3f(0.3f, 0.6f, 0.3f)}) {
        cv::Vec3b t = keyedTexel(c, 1.0f);
        EXPECT_EQ(keyCoverage(t), 1.0f) << c;
        EXPECT_LE(t[1] - std::max(t[0], t[2]), kInkGreen * 255.0f + 1.0f) << c;
        cv::Vec3f shown = shownColour(t);
        EXPECT_NEAR(shown[0], std::min(c[0], 1.0f), 0.02f) << c;
        EXPECT_NEAR(shown[1], t[1] / 255.0f, 0.005f) << "paper's own green is kept";
    }
}

// The clip shader reads the key with the same numbers.
TEST(SoftKey, ShaderKeysWithTheSameNumbers) {
    std::ifstream in(std::string(TORVANEL_SOURCE_DIR) + "/Resources/shaders/f_clip.cpp");
    ASSERT_TRUE(in.good());
    std::stringstream text;
    text << in.rdbuf();
    char coverage[64], edge[64];
    std::snprintf(coverage, sizeof coverage, "smoothstep(%g, %g, ", kKeyFrom, kKeyTo);
    std::snprintf(edge, sizeof edge, "smoothstep(%g, %g, ", kEdgeFrom, kKeyFrom);
    EXPECT_NE(text.str().find(coverage), std::string::npos) << coverage;
    EXPECT_NE(text.str().find(edge), std::string::npos) << edge;
}
