#include "assets/ply_model.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

std::vector<char> bytesOf(const std::string& text) { return std::vector<char>(text.begin(), text.end()); }

const char* const HEADER =
    "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
    "property uchar red\nproperty uchar green\nproperty uchar blue\n";

TEST(PlyModelPlacement, UsesTheRunningBoundsAsReadInOrder) {
    ModelPlacement p = modelPlacement({0, 0, 0, 1, 0, 0, 0, 2, 0});
    EXPECT_FLOAT_EQ(p.centre[0], 0.5f);
    EXPECT_FLOAT_EQ(p.centre[1], 1.0f);
    EXPECT_FLOAT_EQ(p.centre[2], -5000.0f);  // no z ever exceeded the lower bound 0
    EXPECT_FLOAT_EQ(p.scale, 1.0f / std::sqrt(1.0f + 4.0f + 1.0e8f));

    // Decreasing x never exceeds the running lower bound: U.x stays -10000.
    ModelPlacement d = modelPlacement({3, 0, 0, 2, 1, 0, 1, 2, 0});
    EXPECT_FLOAT_EQ(d.centre[0], (1.0f - 10000.0f) * 0.5f);
}

// Face lists of floats holding values no integer holds are skipped, not
// converted (which would be undefined).
TEST(PlyModel, FloatFacesOutsideTheIntegersAreSkipped) {
    std::string text = std::string(HEADER) +
                       "element face 5\nproperty list uchar float vertex_indices\nend_header\n"
                       "0 0 0 1 1 1\n1 0 0 1 1 1\n0 1 0 1 1 1\n"
                       "3 1e30 0 1\n3 0 -1e30 1\n3 0 1 3.4e38\n3 9.3e18 0 1\n3 0 1 2\n";
    testing::internal::CaptureStdout();
    PlyModel model = parsePlyModel(bytesOf(text), "t.ply");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("4 faces skipped"), std::string::npos) << out;
    EXPECT_EQ(model.triangles, (std::vector<uint32_t>{0, 1, 2}));
}

TEST(PlyModel, ReadsColoursAndTrianglesAndSkipsOtherFaces) {
    std::string text = std::string(HEADER) +
                       "element face 4\nproperty list uchar int vertex_indices\nend_header\n"
                       "0 0 0 255 128 0\n1 0 0 0 0 0\n0 1 0 9 9 9\n"
                       "3 0 1 2\n4 0 1 2 0\n3 0 1 7\n3 2 1 0\n";
    testing::internal::CaptureStdout();
    PlyModel model = parsePlyModel(bytesOf(text), "t.ply");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find(" (list_type=uchar)"), std::string::npos) << out;
    EXPECT_NE(out.find("2 faces skipped"), std::string::npos) << out;
    ASSERT_EQ(model.rgb.size(), 9u);
    EXPECT_EQ(model.rgb[0], 255);
    EXPECT_EQ(model.rgb[1], 128);
    EXPECT_EQ(model.rgb[2], 0);
    EXPECT_EQ(model.triangles, (std::vector<uint32_t>{0, 1, 2, 2, 1, 0}));
}

TEST(PlyModel, MissingPropertiesAreReportedAndTheImportGoesOn) {
    std::string text =
        "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\nproperty float z\n"
        "end_header\n1 2 3\n";
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    PlyModel model = parsePlyModel(bytesOf(text), "t.ply");
    testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("tinyply exception: "), std::string::npos);
    EXPECT_EQ(model.xyz, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(model.rgb, (std::vector<uint8_t>{255, 255, 255}));
    EXPECT_TRUE(model.triangles.empty());
}

TEST(PlyModel, BrokenFilesThrowForTheCallerToReport) {
    EXPECT_THROW(parsePlyModel(bytesOf(std::string(HEADER) + "end_header\n0 0 0 1 2\n"), "t.ply"), std::exception);
    try {
        readFileBytes("no-such-dir/thorn.ply");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "could not open binary ifstream to path no-such-dir/thorn.ply");
    }
    // loadPlyModel catches it and leaves the list alone.
    GLuint list = 77;
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    loadPlyModel("no-such-dir/thorn.ply", &list);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ply import... no-such-dir/thorn.ply\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Caught tinyply exception: could not open binary ifstream to path no-such-dir/thorn.ply\n");
    EXPECT_EQ(list, 77u);
}

}  // namespace
