// ribbon_path.h - the point paths the line effects are drawn along, and the
// turtle that walks them.
//
//   RibbonPath path;
//   path.reserve(650);
//   Turtle pen = {{0, 0, 0}, {0, -1, 0}};
//   walk(pen, path, 250, 0, 0.01f, 0.07f);                // straight down
//   walkSpiral(pen, path, 400, 1, 0.998f, 0.01f, 0.07f);  // then a curl
//
// Before each step the turtle turns its direction about z (degrees, positive
// counter-clockwise); then it moves by the step length times the direction,
// which need not be a unit vector, and appends where it stands. Its starting
// place is not a point of the path.
#pragma once
#include <algorithm>
#include <vector>

#include "render/math.h"

struct RibbonPath {
    std::vector<Vec3> points;
    std::vector<float> halfWidths;  // one per point
    bool closed = false;  // positions between points wrap round the ends

    void reserve(int count);
    void add(Vec3 point, float halfWidth);
    void clear();
    // Points that have their half-width (add keeps the two lists in step).
    int count() const { return static_cast<int>(std::min(points.size(), halfWidths.size())); }
};

struct Turtle {
    Vec3 position;
    Vec3 direction;
};

// `direction` turned by `degrees` about z.
Vec3 turned(Vec3 direction, float degrees);

// `steps` steps, each turning by the same angle.
void walk(Turtle& turtle, RibbonPath& path, int steps, float degrees, float stepLength, float halfWidth);

// `steps` steps, the first turning by startDegrees and each later one by
// `factor` times the turn before: a spiral (with factor < 1 it widens).
void walkSpiral(Turtle& turtle, RibbonPath& path, int steps, float startDegrees, float factor, float stepLength,
                float halfWidth);

// The path at fractional point index x (clamped to the points): its position
// on the Catmull-Rom curve through the points, its half-width by straight
// interpolation, and the unit direction of the segment x lies on. A path of
// fewer than two points gives a sample of nothing: all zero.
struct PathSample {
    Vec3 position;
    float halfWidth;
    Vec3 direction;  // zero where the segment has no length
};
PathSample samplePathAt(const RibbonPath& path, float x);
