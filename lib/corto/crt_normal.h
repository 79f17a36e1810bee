// Octahedral normal coding and the normal estimates both directions derive from positions.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace crt {

struct Octa {
    int32_t x, y;
};

// Unit (or any non-zero) vector to octahedral integers with `unit` = 2^(bits-1); zero or
// non-finite vectors map to (0, 0).
Octa toOcta(const float* v, int unit);
void toSphere(Octa o, int unit, float* out);
// v / |v|; a zero or non-finite vector gives (0, 0, 1).
void normalize(const float* v, float* out);

// Sum over faces, in index order, of cross(P1 - P0, P2 - P0) from integer positions.
void estimateNormals(const std::vector<int32_t>& positions, const uint32_t* index, size_t indexCount,
                     std::vector<float>& out);
// XOR over incident faces of the other two corners: zero exactly at interior vertices of a
// manifold mesh.
std::vector<uint32_t> borderFlags(const uint32_t* index, size_t indexCount, uint32_t nvert);

}  // namespace crt
