// ribbon_strip.h - a ribbon path drawn as a flat quad strip in the plane
// z = 0 of the current matrix, with fixed-function GL and no program: the
// coloured ribbons and curls, and the striped strands of the chain.
//
//   glDisable(GL_TEXTURE_2D);
//   glColor3f(1, 0.3f, 0.3f);
//   drawRibbon(path, 0, path.count() * progress, 1, 1, 1, 0.04f, 0, 0);
//
// Start a and end b are fractional point indices, clamped to the path. The
// first point of the strip lies at a; then come the whole points after it;
// the last lies between points trunc(b) - 1 and trunc(b), by the fraction of
// b. Each point gives two vertices, the point plus and minus its half-width
// along the perpendicular (in xy) of its segment's direction, both moved
// sideways by the strip's side offset.
#pragma once
#include <vector>

#include "show/effects/ribbon_path.h"

enum class StripKind {
    Plain,   // texture coordinates (x c + origin x, y c + origin y) from each vertex
    Rising,  // as Plain, and the strip's m-th point rises to z = 0.001 (m - 289)
    Chain,   // whole points only; the texture runs along: (0.1 m + scroll, 0 or 0.1)
};

struct StripLook {
    StripKind kind = StripKind::Plain;
    float originX = 1, originY = 1, textureScale = 1;
    float sideOffset = 0;
    float fixedHalfWidth = 0;  // from 0.00001 on it replaces the points' own
    float scroll = 0;          // Chain: where the texture starts
};

// A point of a strip before its look is applied.
struct StripPoint {
    Vec3 position;
    Vec2 side;  // unit perpendicular in xy (zero on a segment of no length)
    Vec3 direction;
    float halfWidth;  // the point's own, or the look's fixed one
};

struct StripVertex {
    float x, y, z;
    float s, t;  // texture coordinates
};

// The strip's vertices in quad-strip order, two a point. None when the path
// has fewer than two points, when b < a or b < 1 after clamping, or when a
// or b is NaN.
std::vector<StripVertex> stripVertices(const RibbonPath& path, float a, float b, const StripLook& look);

// The strip's points from a to b; none in the cases above. Strips that share
// a path and differ only in side offset or colour share these.
std::vector<StripPoint> stripPoints(const RibbonPath& path, float a, float b, const StripLook& look);

// The points' vertices (as stripVertices) as one GL_QUAD_STRIP in the
// current colour.
void drawStripPoints(const std::vector<StripPoint>& points, const StripLook& look);

// Draws stripVertices as one GL_QUAD_STRIP in the current colour.
void drawStrip(const RibbonPath& path, float a, float b, const StripLook& look);

// A Plain strip from a to b with texture origin (originX, originY), scale c,
// side offset d and fixed half-width e. With a fringe f > 0.001, texturing
// goes off and two more rows follow: a sheet from each point out to 1.5
// beyond its half-width, leaning a little forward, in the current colour, and
// a grey fringe along the sheet's edge that waves in z.
void drawRibbon(const RibbonPath& path, float a, float b, float originX, float originY, float c, float d, float e,
                float f);
