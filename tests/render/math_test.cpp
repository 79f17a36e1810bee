#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "render/math.h"

static void expectNear(Vec3 actual, Vec3 expected, float tolerance = 1e-6f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(Vec3Test, NormalizedLeavesTinyVectorsAlone) {
    Vec3 n = Vec3{0, 0, 0}.normalized();
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_EQ(n.z, 0.0f);
    Vec3 tiny = Vec3{1e-7f, 0, 0}.normalized();
    EXPECT_EQ(tiny.x, 1e-7f);
    expectNear(Vec3{3, 0, 4}.normalized(), {0.6f, 0, 0.8f});
}

TEST(Mat4Test, RotationsTurnTheRightWay) {
    expectNear(Mat4::fromEuler(0, 0, 90).transformPoint({1, 0, 0}), {0, 1, 0});
    // About x, y points to z; about y, z points to x.
    expectNear(Mat4::fromEuler(90, 0, 0).transformPoint({0, 1, 0}), {0, 0, 1});
    expectNear(Mat4::fromEuler(0, 90, 0).transformPoint({0, 0, 1}), {1, 0, 0});
    expectNear(Mat4::fromAxisAngle({0, 0, 1}, 90).transformPoint({1, 0, 0}), {0, 1, 0});
    float h = 0.70710678f;  // 90 degrees about z
    expectNear(Mat4::fromQuaternion(0, 0, h, h).transformPoint({1, 0, 0}), {0, 1, 0});
}

TEST(Mat4Test, EulerComposesZAfterYAfterX) {
    Mat4 expected = Mat4::fromEuler(0, 0, 30) * Mat4::fromEuler(0, 20, 0) * Mat4::fromEuler(10, 0, 0);
    Mat4 combined = Mat4::fromEuler(10, 20, 30);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(combined.m[i], expected.m[i], 1e-6f) << i;
}

TEST(Mat4Test, RotationTimesTranslationTranslatesFirst) {
    Mat4 rt = Mat4::fromEuler(0, 0, 90) * Mat4::translation({1, 0, 0});
    // (1, 0, 0) moves to (2, 0, 0), then turns to (0, 2, 0).
    expectNear(rt.transformPoint({1, 0, 0}), {0, 2, 0});
    Mat4 tr = Mat4::translation({1, 0, 0}) * Mat4::fromEuler(0, 0, 90);
    expectNear(tr.transformPoint({1, 0, 0}), {1, 1, 0});
}

TEST(Mat4Test, CheckedAccessRejectsOutOfRangeIndices) {
    Mat4 m = Mat4::translation({5, 6, 7});
    EXPECT_EQ(m.at(1, 3), 6.0f);
    EXPECT_THROW(m.at(4, 0), std::out_of_range);
    EXPECT_THROW(m.at(-1, 0), std::out_of_range);
    try {
        m.at(0, 4);
        FAIL();
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "Vector element index outside of the range");
    }
}

struct OpenPathTest : ::testing::Test {
    Vec3 points[5] = {{0, 0, 0}, {1, 2, 0}, {3, 3, 1}, {4, 1, 2}, {6, 0, 5}};
};

TEST_F(OpenPathTest, PassesThroughItsPoints) {
    for (int i = 0; i < 5; ++i) expectNear(samplePath(points, 5, false, float(i)), points[i]);
}

TEST_F(OpenPathTest, ClampsBeyondTheEnds) {
    Vec3 p3 = points[3], p4 = points[4];
    Vec3 expected = {p4.x + (p4.x - p3.x) / 16, p4.y + (p4.y - p3.y) / 16, p4.z + (p4.z - p3.z) / 16};
    expectNear(samplePath(points, 5, false, 4.5f), expected);
    Vec3 end = samplePath(points, 5, false, 7);
    EXPECT_EQ(end.x, p4.x);
    EXPECT_EQ(end.y, p4.y);
    EXPECT_EQ(end.z, p4.z);
    Vec3 start = samplePath(points, 5, false, -3);
    EXPECT_EQ(start.y, points[0].y);
}

TEST(PathTest, ClosedPathWrapsAndDegenerateInputsStayInBounds) {
    Vec3 square[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    expectNear(samplePath(square, 4, true, 1), square[1], 1e-3f);
    expectNear(samplePath(square, 4, true, 4), square[0], 1e-3f);
    expectNear(samplePath(square, 4, true, -1), square[3], 1e-3f);
    // Far below the shift, NaN, a single point and an empty path.
    samplePath(square, 4, true, -1e9f);
    samplePath(square, 4, true, NAN);
    samplePath(square, 4, false, NAN);
    expectNear(samplePath(square, 1, false, 0.5f), square[0]);
    expectNear(samplePath(square, 1, true, 0.5f), square[0]);
    expectNear(samplePath(nullptr, 0, false, 0.5f), {0, 0, 0});
}
