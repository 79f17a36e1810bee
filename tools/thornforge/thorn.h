// The crown of thorns the show draws: braided branches around a ring lying in
// the x-z plane, with curved thorns whose tips fade to pale wood.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

struct ThornVertex {
  float x, y, z;
  uint8_t r, g, b;
};

struct ThornMesh {
  std::vector<ThornVertex> vertices;
  std::vector<std::array<int, 3>> faces;
};

// Same mesh for the same seed. The last vertex is the upper corner of the
// bounding box and belongs to no face: the show's reader takes the last vertex
// above the running minimum as its upper bound, so this keeps its centring true.
ThornMesh makeThornCrown(uint32_t seed);
