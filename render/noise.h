// noise.h - deterministic 3D gradient noise for the sprites' shake and drift.
//
//   float n = noise(x, 1.3f, 0.5f);   // the fixed table, about [-1, 1]
//
// The table comes from an integer hash with a fixed start value, so the field
// is identical on every run and machine; it repeats every 128 units.
#pragma once
#include <cstdint>

#include "render/math.h"

struct NoiseTable {
    Vec3 gradients[128];
    int32_t permutation[128];
};

uint32_t noiseHash(uint32_t n);
// The hash mapped to [-1, 1] in single precision (1 itself is reachable).
float noiseUniform(uint32_t n);

void buildNoiseTable(NoiseTable& table);
// The table every caller shares, built on first use.
const NoiseTable& fixedNoiseTable();

float noise(const NoiseTable& table, float x, float y, float z);
float noise(float x, float y, float z);
