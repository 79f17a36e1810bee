// shatter_pieces.h - the triangles a shattered sprite is drawn in, as plain
// data: no GL, so the numbers the drawers send can be checked directly.
//
//   std::vector<ShatterPiece> pieces = screenShatterPieces(30, progress);
//   for (const ShatterPiece& piece : pieces) {
//       // translate push; turn turnDegrees about pivot; translate drift;
//       // then the quad's own scale and flip, and the three corners.
//   }
//
// Both builders reseed the shared generator with 4234, so every call gives
// the same points and angles; they leave it where the show's drawers leave
// it (the scenes go on drawing from it).
#pragma once
#include <vector>

#include "render/math.h"

struct ShatterPiece {
    Vec3 push;          // the burst outwards from the quad's centre
    Vec3 pivot;         // the piece turns about this point ...
    float turnDegrees;  // ... by this much about z
    Vec3 drift;         // the small wander that stays after assembly
    Vec3 corners[3];    // vertices, in the quad's unscaled frame
    Vec2 texCoords[3];
};

// The quad's corners (-1, -1), (1, -1), (1, 1), (-1, 1), then randomCount
// points in [-1, 1] from the generator as it stands: x, y pairs.
std::vector<double> shatterPoints(int randomCount);

// The 16:9 screen quad over randomCount random points (negative counts as 0);
// pieces fly in as progress rises to 1 and only drift beyond it.
std::vector<ShatterPiece> screenShatterPieces(int randomCount, float progress);

// A cut-out over 10 random points; each piece turns in by its own random
// angle and settles as progress reaches 1 - its share of the piece list.
std::vector<ShatterPiece> imageShatterPieces(float progress);
