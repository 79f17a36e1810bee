#include "render/noise.h"

#include <cmath>
#include <utility>

uint32_t noiseHash(uint32_t n) {
    uint32_t a = (n ^ 0xBC602Fu) * 0x9E3779B9u;
    a ^= (a << 6) | (a >> 26);
    a *= 0x9E3779B9u;
    return a + ((a << 5) ^ (a >> 12));
}

float noiseUniform(uint32_t n) {
    return static_cast<float>(noiseHash(n)) * 2.0f * 2.3283064e-10f - 1.0f;
}

// Rejection sampling inside the unit ball keeps the directions uniform.
static Vec3 randomUnitVector(uint32_t& counter) {
    for (;;) {
        float x = noiseUniform(counter), y = noiseUniform(counter + 1), z = noiseUniform(counter + 2);
        counter += 3;
        float lengthSquared = x * x + y * y + z * z;
        if (lengthSquared > 0.0f && lengthSquared <= 1.0f) {
            float length = std::sqrt(lengthSquared);
            return {x / length, y / length, z / length};
        }
    }
}

void buildNoiseTable(NoiseTable& table) {
    uint32_t counter = 171717;
    for (int i = 0; i < 128; ++i) {
        table.gradients[i] = randomUnitVector(counter);
        table.permutation[i] = i;
    }
    for (uint32_t k = 1; k < 128; ++k)
        std::swap(table.permutation[k], table.permutation[noiseHash(counter + k - 1) % (k + 1)]);
}

const NoiseTable& fixedNoiseTable() {
    static const NoiseTable table = [] {
        NoiseTable t;
        buildNoiseTable(t);
        return t;
    }();
    return table;
}

// Lattice coordinate as an integer; only its low 7 bits matter, so values
// beyond the int range (and NaN) fold to 0 instead of overflowing.
static uint32_t lattice(float floored) {
    if (!(floored >= -2147483648.0f && floored < 2147483648.0f)) return 0;
    return static_cast<uint32_t>(static_cast<int32_t>(floored));
}

static float fade(float t) { return t * t * t * (t * (6 * t - 15) + 10); }
static float lerp(float a, float b, float w) { return a + w * (b - a); }

static float corner(const Vec3& g, float x, float y, float z) { return g.x * x + g.y * y + g.z * z; }

float noise(const NoiseTable& table, float x, float y, float z) {
    float fx0 = std::floor(x), fy0 = std::floor(y), fz0 = std::floor(z);
    uint32_t xi = lattice(fx0), yi = lattice(fy0), zi = lattice(fz0);
    float fx = x - fx0, fy = y - fy0, fz = z - fz0;

    // Unsigned sums wrap exactly like the two's complement ones, without the UB.
    auto P = [&](uint32_t k) { return static_cast<uint32_t>(table.permutation[k & 127]); };
    uint32_t A = P(xi) + yi, B = P(xi + 1) + yi;
    uint32_t AA = P(A) + zi, BA = P(B) + zi, AB = P(A + 1) + zi, BB = P(B + 1) + zi;
    const Vec3* g = table.gradients;

    float c000 = corner(g[P(AA)], fx, fy, fz);
    float c100 = corner(g[P(BA)], fx - 1, fy, fz);
    float c010 = corner(g[P(AB)], fx, fy - 1, fz);
    float c110 = corner(g[P(BB)], fx - 1, fy - 1, fz);
    float c001 = corner(g[P(AA + 1)], fx, fy, fz - 1);
    float c101 = corner(g[P(BA + 1)], fx - 1, fy, fz - 1);
    float c011 = corner(g[P(AB + 1)], fx, fy - 1, fz - 1);
    float c111 = corner(g[P(BB + 1)], fx - 1, fy - 1, fz - 1);

    float wx = fade(fx), wy = fade(fy), wz = fade(fz);
    float near = lerp(lerp(c000, c100, wx), lerp(c010, c110, wx), wy);
    float far = lerp(lerp(c001, c101, wx), lerp(c011, c111, wx), wy);
    return lerp(near, far, wz);
}

float noise(float x, float y, float z) { return noise(fixedNoiseTable(), x, y, z); }
