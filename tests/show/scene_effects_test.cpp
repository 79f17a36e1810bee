// The line effects: the turtle's paths, the strips built from them (edges,
// widths, offsets, texture runs, the rising far end), the curl colours, the
// chain's falling links; then the drawers in a real GL context, read back
// from the window: curls unrolling, the fringe, links that only fall after
// 251 s.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "show/effects/chain.h"
#include "show/effects/curls.h"
#include "show/effects/ribbon_strip.h"
#include "tests/show/scene_test_kit.h"

namespace {

// A straight path up the y axis: point i at (0, i + 1), half-width i.
RibbonPath straightPath(int count) {
    RibbonPath path;
    for (int i = 0; i < count; i++) path.add({0, static_cast<float>(i + 1), 0}, static_cast<float>(i));
    return path;
}

}  // namespace

TEST(RibbonPath, TheTurtleTurnsLeftThenStepsItsLength) {
    RibbonPath path;
    Turtle pen = {{0, 0, 0}, {1, 0, 0}};
    walk(pen, path, 1, 90, 0.5f, 0.02f);
    ASSERT_EQ(path.count(), 1);  // the start is not a point
    EXPECT_NEAR(path.points[0].x, 0, 1e-6);
    EXPECT_NEAR(path.points[0].y, 0.5, 1e-6);
    EXPECT_EQ(path.halfWidths[0], 0.02f);

    // Twenty turns of 18 degrees close a loop back on the start.
    path.clear();
    pen = {{0.3f, -0.2f, 0}, {0.01f, 0, 0}};
    walk(pen, path, 20, 18, 0.01f, 0.015f);
    EXPECT_EQ(path.count(), 20);
    EXPECT_NEAR(path.points[19].x, 0.3, 1e-6);
    EXPECT_NEAR(path.points[19].y, -0.2, 1e-6);

    // A widening spiral turns by 1 degree first, then 0.998 times the turn before.
    path.clear();
    pen = {{0, 0, 0}, {1, 0, 0}};
    walkSpiral(pen, path, 400, 1, 0.998f, 0.01f, 0.07f);
    double turned = (1 - std::pow(0.998, 400)) / (1 - 0.998);  // 275.5 degrees
    EXPECT_NEAR(std::atan2(pen.direction.y, pen.direction.x) * 180 / M_PI + 360, turned, 0.01);

    // A step length of 0 stays put; a negative one walks backwards.
    path.clear();
    pen = {{0, 0, 0}, {1, 0, 0}};
    walk(pen, path, 20, 0, 0, 0.01f);
    EXPECT_EQ(pen.position.x, 0.0f);
    walk(pen, path, 20, 0, -0.05f * 0.472f, 0.01f);
    EXPECT_NEAR(pen.position.x, -0.472, 1e-5);
}

TEST(RibbonStrip, DrawsNothingFromTooShortAPathOrAnEndBelowOne) {
    StripLook plain;
    EXPECT_TRUE(stripVertices(RibbonPath(), 0, 5, plain).empty());
    EXPECT_TRUE(stripVertices(straightPath(1), 0, 5, plain).empty());
    RibbonPath path = straightPath(10);
    EXPECT_TRUE(stripVertices(path, 0, 0, plain).empty());      // progress 0
    EXPECT_TRUE(stripVertices(path, 0, 0.99f, plain).empty());
    EXPECT_TRUE(stripVertices(path, 5, 4, plain).empty());      // ends before it starts
    EXPECT_TRUE(stripVertices(path, 0, -3, plain).empty());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(stripVertices(path, nan, 5, plain).empty());
    EXPECT_TRUE(stripVertices(path, 0, nan, plain).empty());
    EXPECT_EQ(stripVertices(path, 0, 1, plain).size(), 4u);
    // Ends far past the path clamp to it: all ten points.
    EXPECT_EQ(stripVertices(path, -7, 1e9f, plain).size(), 20u);
    EXPECT_EQ(stripVertices(path, 0, std::numeric_limits<float>::infinity(), plain).size(), 20u);
    // Points without a half-width (filled by hand, not by add) are left out.
    RibbonPath ragged = straightPath(10);
    ragged.halfWidths.resize(3);
    EXPECT_EQ(ragged.count(), 3);
    EXPECT_EQ(stripVertices(ragged, 0, 9, plain).size(), 6u);
    ragged.halfWidths.clear();
    EXPECT_TRUE(stripVertices(ragged, 0, 9, plain).empty());
}

TEST(RibbonStrip, EdgesLieAcrossThePathAtTheirHalfWidths) {
    RibbonPath path = straightPath(10);
    StripLook plain;
    // From 2.5 to 6.25: the first point between points 2 and 3, the whole
    // points 3 to 5, the last between 5 and 6 by the quarter.
    std::vector<StripVertex> v = stripVertices(path, 2.5f, 6.25f, plain);
    ASSERT_EQ(v.size(), 10u);
    EXPECT_NEAR(v[0].y, 3.5, 1e-5);
    EXPECT_NEAR(v[0].x, -2.5, 1e-5);  // heading up, the first edge lies to the left
    EXPECT_NEAR(v[1].x, 2.5, 1e-5);
    EXPECT_NEAR(v[2].y, 4, 1e-5);
    EXPECT_NEAR(v[2].x, -3, 1e-5);
    EXPECT_NEAR(v[8].y, 6.25, 1e-5);
    EXPECT_NEAR(v[9].x, 5.25, 1e-5);
    for (const StripVertex& vertex : v) {
        EXPECT_EQ(vertex.z, 0.0f);
        EXPECT_NEAR(vertex.s, vertex.x + 1, 1e-5);  // origin (1, 1), scale 1
        EXPECT_NEAR(vertex.t, vertex.y + 1, 1e-5);
    }

    // A side offset moves both edges; a fixed half-width replaces the points'.
    StripLook moved;
    moved.sideOffset = 0.04f;
    moved.fixedHalfWidth = 0.5f;
    moved.textureScale = 2;
    moved.originX = 0;
    v = stripVertices(path, 0, 3, moved);
    ASSERT_EQ(v.size(), 8u);
    EXPECT_NEAR(v[2].x, -0.54, 1e-5);
    EXPECT_NEAR(v[3].x, 0.46, 1e-5);
    EXPECT_NEAR(v[3].s, 0.92, 1e-5);

    // A path whose points coincide has no direction: a strip of no width, no NaN.
    RibbonPath still;
    for (int i = 0; i < 5; i++) still.add({1, 2, 0}, 0.01f);
    for (const StripVertex& vertex : stripVertices(still, 0, 4, plain)) {
        EXPECT_EQ(vertex.x, 1.0f);
        EXPECT_EQ(vertex.y, 2.0f);
    }
}

TEST(RibbonStrip, RisingAndChainStrips) {
    RibbonPath path = straightPath(400);
    StripLook rising;
    rising.kind = StripKind::Rising;
    std::vector<StripVertex> v = stripVertices(path, 0, 400, rising);
    ASSERT_EQ(v.size(), 800u);
    EXPECT_EQ(v[0].z, 0.0f);
    EXPECT_EQ(v[2 * 289].z, 0.0f);
    EXPECT_NEAR(v[2 * 300].z, 0.011, 1e-6);
    EXPECT_NEAR(v[2 * 300 + 1].z, 0.011, 1e-6);

    // Whole points only; the texture runs along the strip from the scroll.
    StripLook chain;
    chain.kind = StripKind::Chain;
    chain.scroll = 0.375f;
    v = stripVertices(path, 2.7f, 5.9f, chain);
    ASSERT_EQ(v.size(), 8u);
    EXPECT_NEAR(v[0].y, 3, 1e-5);
    EXPECT_NEAR(v[6].y, 5, 1e-5);  // between 4 and 5 by no fraction: point 4
    for (int m = 0; m < 4; m++) {
        EXPECT_NEAR(v[2 * m].s, 0.1 * m + 0.375, 1e-6);
        EXPECT_EQ(v[2 * m].t, 0.0f);
        EXPECT_EQ(v[2 * m + 1].t, 0.1f);
    }
}

TEST(Curls, SixColoursLightenedTowardsWhite) {
    const float expected[6][3] = {{1, 0.3f, 0.3f}, {1, 1, 0.3f}, {0.3f, 1, 0.3f},
                                  {0.3f, 1, 1},    {1, 0.3f, 1}, {1, 0.65f, 1}};
    for (int k = 0; k < 6; k++) {
        CurlColour c = curlColour(k);
        EXPECT_NEAR(c.r, expected[k][0], 1e-6) << k;
        EXPECT_NEAR(c.g, expected[k][1], 1e-6) << k;
        EXPECT_NEAR(c.b, expected[k][2], 1e-6) << k;
    }
    for (int k : {-1, 6, 1000}) EXPECT_EQ(curlColour(k).g, 1.0f) << k;
}

TEST(Chain, LinksHoldStillBefore251AndAllFallSoonAfter) {
    for (uint64_t link : {1ull, 2ull, 3ull, 77ull, 123456789ull, ~0ull}) {
        for (double t : {0.0, 225.0, 249.5, 250.999}) EXPECT_EQ(chainLinkDrop(t, link), 0.0) << link << " " << t;
        EXPECT_LT(chainLinkDrop(252.6, link), 0.0) << link;
        EXPECT_LT(chainLinkDrop(260, link), chainLinkDrop(255, link)) << link;
    }
    // Each link has its own moment: one whose sine is negative is already
    // due at 251 s, one whose sine is positive waits.
    ASSERT_LT(std::sin(122.0 * 2), -0.5);
    ASSERT_GT(std::sin(122.0 * 3), 0.99);
    EXPECT_LT(chainLinkDrop(251, 2), 0.0);
    EXPECT_EQ(chainLinkDrop(251.5, 3), 0.0);
    EXPECT_LT(chainLinkDrop(252.6, 3), 0.0);
}

namespace {

using scene_test::SceneTest;

// The effects drawn into the show window's lower left 256 x 256 pixels,
// looking straight down at the square (-2, -2) to (2, 2), then read back.
class EffectPictures : public SceneTest {
protected:
    static constexpr int SIZE = 256;

    void SetUp() override {
        SceneTest::SetUp();
        if (IsSkipped()) return;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        ShaderProgram::unuse();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glDisable(GL_TEXTURE_2D);
        glViewport(0, 0, SIZE, SIZE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -2, 2, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
    }

    template <typename Draw>
    static cv::Mat picture(Draw draw) {
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        cv::Mat pixels(SIZE, SIZE, CV_8UC3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, SIZE, SIZE, GL_RGB, GL_UNSIGNED_BYTE, pixels.data);
        return pixels;
    }

    static cv::Mat litMask(const cv::Mat& pixels) {
        cv::Mat grey;
        cv::cvtColor(pixels, grey, cv::COLOR_RGB2GRAY);
        return grey > 0;
    }
    static int lit(const cv::Mat& pixels) { return cv::countNonZero(litMask(pixels)); }

    // Pixels within 3 of colour c on every channel.
    static int ofColour(const cv::Mat& pixels, CurlColour c) {
        cv::Scalar rgb(c.r * 255, c.g * 255, c.b * 255);
        cv::Mat near;
        cv::inRange(pixels, rgb - cv::Scalar::all(3), rgb + cv::Scalar::all(3), near);
        return cv::countNonZero(near);
    }
};

}  // namespace

TEST_F(EffectPictures, CurlsUnrollInTheirOwnColourUntilWhole) {
    glTranslatef(0, 1.5f, 0);  // the stroke runs 2.5 down from the spout
    int none = lit(picture([] { drawCurl(100, 1, 0); }));
    int half = lit(picture([] { drawCurl(100, 1, 2.5); }));
    cv::Mat wholePicture = picture([] { drawCurl(100, 1, 1 / 0.134 + 0.1); });
    int whole = lit(wholePicture);
    EXPECT_EQ(none, 0);
    EXPECT_GT(half, 500);
    EXPECT_GT(whole, half * 3 / 2);
    EXPECT_EQ(lit(picture([] { drawCurl(100, 1, 1000); })), whole);
    for (int badIndex : {-1, 6}) EXPECT_EQ(lit(picture([&] { drawCurl(100, badIndex, 100); })), 0) << badIndex;

    // Lightened yellow, the edges' partly covered pixels darker alike.
    EXPECT_GT(ofColour(wholePicture, curlColour(1)), whole / 2);
    int otherHue = 0;
    for (int y = 0; y < SIZE; y++)
        for (int x = 0; x < SIZE; x++) {
            cv::Vec3b p = wholePicture.at<cv::Vec3b>(y, x);
            otherHue += std::abs(p[0] - p[1]) > 3 || std::abs(p[2] - 0.3 * p[0]) > 3;
        }
    EXPECT_EQ(otherHue, 0);
}

TEST_F(EffectPictures, TheRibcageLinesGrowSideBySideEachInItsColour) {
    glTranslatef(1.2f, -1.9f, 0);
    glScalef(0.7f, 0.7f, 1);
    EXPECT_EQ(lit(picture([] { drawCurlPair(212, 0, 0); })), 0);
    cv::Mat some = picture([] { drawCurlPair(214, 2, 1); });
    cv::Mat more = picture([] { drawCurlPair(214, 4, 1); });
    EXPECT_GT(lit(some), 1000);
    EXPECT_GT(lit(more), lit(some) * 5 / 4);
    EXPECT_EQ(cv::countNonZero(litMask(some) & ~litMask(more)), 0);  // the longer holds the shorter
    for (int k = 0; k < CURL_COLOUR_COUNT; k++) EXPECT_GT(ofColour(more, curlColour(k)), 100) << k;
}

TEST_F(EffectPictures, TheFringeIsDrawnOnlyWhenAsked) {
    RibbonPath path;
    Turtle pen = {{0, -1.5f, 0}, {0, 1, 0}};
    walk(pen, path, 100, 0, 0.03f, 0.1f);
    glColor3f(1, 0, 0);
    int plain = lit(picture([&] { drawRibbon(path, 0, 100, 1, 1, 1, 0, 0, 0); }));
    int fringed = lit(picture([&] {
        glColor3f(1, 0, 0);
        drawRibbon(path, 0, 100, 1, 1, 1, 0, 0, 1);
    }));
    EXPECT_GT(plain, 1000);
    EXPECT_GT(fringed, plain * 3);
}

TEST_F(EffectPictures, ChainLinksStayPutUntil251ThenDrop) {
    setChainScroll(0);
    auto link = [](float t) {
        return [t] {
            glPushMatrix();
            glScalef(2, 2, 1);
            Vec3 at = {-0.3f, 0, 0}, along = {1, 0, 0};
            int links = 0;
            drawChainLink(t, 0.5, 30, at, along, links);
            EXPECT_EQ(links, 1);
            EXPECT_NEAR(at.x, 0.2, 1e-5);  // 20 steps of 0.05 * 0.5
            EXPECT_NEAR(std::atan2(along.y, along.x) * 180 / M_PI, 30, 1e-3);
            glPopMatrix();
        };
    };
    cv::Mat at100 = litMask(picture(link(100)));
    cv::Mat at250 = litMask(picture(link(250.9f)));
    cv::Mat at260 = litMask(picture(link(260)));
    EXPECT_GT(cv::countNonZero(at100), 300);
    // The eye's rings change colour with the time, not the link's shape.
    EXPECT_EQ(cv::countNonZero(at100 != at250), 0);
    EXPECT_GT(cv::countNonZero(at100 != at260), 300);
}
