#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

#include "render/noise.h"

TEST(NoiseHashTest, UniformStaysInRangeAndReachesOne) {
    for (uint32_t n = 0; n < 100000; ++n) {
        float u = noiseUniform(n * 2654435761u);
        ASSERT_GE(u, -1.0f);
        ASSERT_LE(u, 1.0f);
    }
    // Hash values within 128 of 2^32 round up to 2^32 as floats.
    EXPECT_EQ(static_cast<float>(0xFFFFFFFFu) * 2.0f * 2.3283064e-10f - 1.0f, 1.0f);
    EXPECT_EQ(noiseUniform(0), static_cast<float>(noiseHash(0)) / 2147483648.0f - 1.0f);
}

TEST(NoiseTableTest, IsDeterministicAndWellFormed) {
    NoiseTable a, b;
    buildNoiseTable(a);
    buildNoiseTable(b);
    EXPECT_EQ(memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(memcmp(&a, &fixedNoiseTable(), sizeof a), 0);

    bool seen[128] = {};
    for (int i = 0; i < 128; ++i) {
        ASSERT_GE(a.permutation[i], 0);
        ASSERT_LT(a.permutation[i], 128);
        seen[a.permutation[i]] = true;
        const Vec3& g = a.gradients[i];
        EXPECT_NEAR(g.x * g.x + g.y * g.y + g.z * g.z, 1.0f, 1e-5f);
    }
    for (bool s : seen) EXPECT_TRUE(s);
}

TEST(NoiseTableTest, ShuffleStartsFromTheCounterAfterTheGradients) {
    // Replay the gradient draws to learn where the counter ends, then the
    // shuffle from there: the first swap is entry 1 with entry h(c) mod 2.
    uint32_t c = 171717;
    for (int i = 0; i < 128; ++i)
        for (float l = 2; !(l > 0 && l <= 1); c += 3) {
            float x = noiseUniform(c), y = noiseUniform(c + 1), z = noiseUniform(c + 2);
            l = x * x + y * y + z * z;
        }
    int32_t expected[128];
    for (int i = 0; i < 128; ++i) expected[i] = i;
    for (uint32_t k = 1; k < 128; ++k) std::swap(expected[k], expected[noiseHash(c + k - 1) % (k + 1)]);
    EXPECT_EQ(memcmp(expected, fixedNoiseTable().permutation, sizeof expected), 0);
}

TEST(NoiseTest, VanishesOnTheLattice) {
    for (int x = -300; x <= 300; x += 7)
        for (int y = -3; y <= 3; ++y) EXPECT_EQ(noise(float(x), float(y), float(x + y)), 0.0f);
}

TEST(NoiseTest, RepeatsEvery128IncludingNegativeCoordinates) {
    // Dyadic coordinates keep x - 128 exact in single precision.
    const float xs[] = {0.375f, 5.25f, -3.125f, -127.5f, 1000.0625f};
    for (float x : xs) {
        EXPECT_EQ(noise(x - 128, 1.3f, 0.5f), noise(x, 1.3f, 0.5f)) << x;
        EXPECT_EQ(noise(1.6f, x - 128, 0.5f), noise(1.6f, x, 0.5f)) << x;
        EXPECT_EQ(noise(0.7f, 0.5f, x - 256), noise(0.7f, 0.5f, x)) << x;
    }
}

TEST(NoiseTest, IsSmoothBoundedAndSafeForExtremeInputs) {
    float previous = noise(0, 1.3f, 0.5f);
    for (int i = 1; i <= 4000; ++i) {
        float v = noise(i * 0.001f, 1.3f, 0.5f);
        ASSERT_LE(std::fabs(v), 1.5f);
        ASSERT_LT(std::fabs(v - previous), 0.01f);
        previous = v;
    }
    EXPECT_TRUE(std::isfinite(noise(3e9f, -3e9f, 1e30f)));
    noise(std::nanf(""), 0.5f, 0.5f);
}
