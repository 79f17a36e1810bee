// delaunay.h - 2D Delaunay triangulation by sweep hull, reproducing the
// triangle order and vertex order of delaunator 5.x exactly.
//
//   double xy[] = {-1,-1, 1,-1, 1,1, -1,1};
//   delaunay::Triangulation t = delaunay::triangulate(xy, 4);
//   if (t.error) { report(t.error); }
//   for (size_t k = 0; k < t.triangles.size(); k += 3)
//       drawPiece(t.triangles[k], t.triangles[k + 1], t.triangles[k + 2]);
//
// Triangles and hull are clockwise with y up (counter-clockwise on a y-down
// screen). Half-edge e runs from triangles[e] to the next corner of the same
// triangle; halfedges[e] is the opposite half-edge, or -1 on the hull.
//
// Collinear input, fewer than three distinct points, or no input at all is
// not an error: triangles stay empty and hull lists the distinct points
// sorted along the line. Points that duplicate an earlier one, or lie exactly
// on the hull when inserted, appear in no triangle.
//
// Non-finite or out-of-range coordinates, too many points or a null array
// are rejected: every array is empty and error names the reason.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace delaunay {

// Coordinates beyond this magnitude would overflow the in-circle products.
constexpr double MAX_COORDINATE = 1e60;
// Far beyond any sprite; bounds memory (about 80 bytes a point) and keeps
// half-edge indices within int32_t.
constexpr size_t MAX_POINTS = size_t(1) << 24;

struct Triangulation {
    std::vector<uint32_t> triangles;  // three point indices per triangle
    std::vector<int32_t> halfedges;   // one per triangles entry
    std::vector<uint32_t> hull;       // hull point indices in ring order
    const char* error = nullptr;      // set only when the input was rejected
};

// coords holds x0, y0, x1, y1, ... for pointCount points.
Triangulation triangulate(const double* coords, size_t pointCount);

}  // namespace delaunay
