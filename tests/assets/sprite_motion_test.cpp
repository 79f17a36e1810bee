#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "assets/sprite_motion.h"
#include "render/noise.h"

TEST(Stepped, TruncatesTowardZeroAndSaturatesOutOfRange) {
    EXPECT_FLOAT_EQ(stepped(0.37f, 10), 0.3f);
    EXPECT_FLOAT_EQ(stepped(-0.37f, 10), -0.3f);  // toward zero, not floor
    EXPECT_FLOAT_EQ(stepped(1.0f, 5), 1.0f);
    EXPECT_EQ(stepped(3e9f, 1), static_cast<float>(INT_MIN));
    EXPECT_EQ(stepped(NAN, 1), static_cast<float>(INT_MIN));
}

TEST(Jitter, NegativeTimesShakeAsTimeZero) {
    for (float t : {-0.01f, -3.0f, -1000.0f}) {
        SpriteOffset a = jitterOffset(t, 43, true, 1.3f), b = jitterOffset(0.0f, 43, true, 1.3f);
        EXPECT_EQ(a.translation.x, b.translation.x);
        EXPECT_EQ(a.translation.y, b.translation.y);
        EXPECT_EQ(a.turnDegrees, b.turnDegrees);
    }
}

TEST(Jitter, StepsTenTimesATimeUnitAndScalesWithAmplitude) {
    SpriteOffset a = jitterOffset(2.31f, 4, true, 1), b = jitterOffset(2.39f, 4, true, 1);
    EXPECT_EQ(a.translation.x, b.translation.x);
    EXPECT_EQ(a.turnDegrees, b.turnDegrees);
    SpriteOffset c = jitterOffset(2.41f, 4, true, 1);
    EXPECT_NE(a.translation.x, c.translation.x);

    SpriteOffset big = jitterOffset(2.31f, 4, true, 2);
    EXPECT_FLOAT_EQ(big.translation.x, 2 * a.translation.x);
    EXPECT_FLOAT_EQ(big.translation.y, 2 * a.translation.y);
    EXPECT_EQ(a.translation.z, 0.0f);
    // Within 0.04, 0.06 and 20 degrees per unit of amplitude.
    for (int i = 0; i < 200; i++) {
        SpriteOffset o = jitterOffset(i * 0.1f, i, true, 1);
        EXPECT_LE(std::fabs(o.translation.x), 0.04f * 1.1f);
        EXPECT_LE(std::fabs(o.translation.y), 0.06f * 1.1f);
        EXPECT_LE(std::fabs(o.turnDegrees), 20.0f * 1.1f);
    }
    EXPECT_EQ(jitterOffset(2.31f, 4, false, 1).turnDegrees, 0.0f);
    EXPECT_NE(jitterOffset(2.31f, 5, true, 1).translation.x, a.translation.x);  // each index its own shake
}

TEST(PathMove, EqualPointsSitAtTheFirstPointAndOnlyTurn) {
    Vec3 p = {0.3f, -1.5f, 2.0f};
    bool turned = false;
    for (float progress : {0.0f, 0.25f, 0.5f, 1.0f, 3.7f}) {
        SpriteOffset o = pathMoveOffset(p, p, 1, progress, 443, 1);
        EXPECT_EQ(o.translation.x, p.x);
        EXPECT_EQ(o.translation.y, p.y);
        EXPECT_EQ(o.translation.z, p.z);
        turned = turned || o.turnDegrees != 0.0f;
    }
    EXPECT_TRUE(turned);
}

TEST(PathMove, WalksTheLineInTenthsAndArrivesWithoutSway) {
    Vec3 from = {0, -3, 0}, to = {0, 0, 0};
    // The path runs along y, so the sideways wobble is along x only.
    SpriteOffset start = pathMoveOffset(from, to, 1, 0.0f, 0, 1);
    EXPECT_NEAR(start.translation.y, -3.0f, 0.045f);
    EXPECT_LE(std::fabs(start.translation.x), 0.105f);
    SpriteOffset a = pathMoveOffset(from, to, 1, 0.51f, 0, 1), b = pathMoveOffset(from, to, 1, 0.58f, 0, 1);
    EXPECT_NEAR(a.translation.y, -1.5f, 0.045f);
    EXPECT_EQ(a.translation.x, b.translation.x);  // one step of rate / 10 on both clocks
    // Past the end it stays at the target, with only the small wobble that keeps running.
    for (float progress : {1.0f, 1.5f, 9.0f}) {
        SpriteOffset o = pathMoveOffset(from, to, 1, progress, 0, 1);
        EXPECT_NEAR(o.translation.y, 0.0f, 0.045f);
        EXPECT_LE(std::fabs(o.translation.x), 0.045f);
        EXPECT_EQ(o.translation.z, 0.0f);
    }
    EXPECT_NE(pathMoveOffset(from, to, 1, 1.5f, 0, 1).turnDegrees, pathMoveOffset(from, to, 1, 1.7f, 0, 1).turnDegrees);
    EXPECT_FLOAT_EQ(pathMoveOffset(from, to, 1, 0.3f, 7, 2.5f).turnDegrees,
                    2.5f * pathMoveOffset(from, to, 1, 0.3f, 7, 1).turnDegrees);
}

TEST(PathMove, SlowerRatesTakeCoarserSteps) {
    // Rate 0.5 steps the path in twentieths.
    Vec3 from = {-1, 0, 0}, to = {1, 0, 0};
    SpriteOffset a = pathMoveOffset(from, to, 0.5f, 0.26f, 3, 1);
    EXPECT_NEAR(a.translation.x, -1.0f + 2.0f * 0.25f, 0.045f);
}
