#include "show/effects/ribbon_path.h"

#include <cmath>
#include <cstddef>

void RibbonPath::reserve(int count) {
    if (count <= 0) return;
    points.reserve(static_cast<std::size_t>(count));
    halfWidths.reserve(static_cast<std::size_t>(count));
}

void RibbonPath::add(Vec3 point, float halfWidth) {
    points.push_back(point);
    halfWidths.push_back(halfWidth);
}

void RibbonPath::clear() {
    points.clear();
    halfWidths.clear();
}

// A turn about z as Mat4::fromAxisAngle({0, 0, 1}, degrees) builds it, with
// only its non-zero entries kept: turning gives the same numbers for a
// fraction of the work, which counts on paths of thousands of steps.
struct ZTurn {
    float c, s, zScale;
};

static ZTurn zTurn(float degrees) {
    float angle = degrees * 0.017453292f;
    float s = std::sin(angle), c = std::cos(angle);
    return {c, s, (1.0f - c) + c};
}

static Vec3 apply(const ZTurn& turn, Vec3 d) {
    return {turn.c * d.x + -turn.s * d.y, turn.s * d.x + turn.c * d.y, turn.zScale * d.z};
}

Vec3 turned(Vec3 direction, float degrees) { return apply(zTurn(degrees), direction); }

static void step(Turtle& turtle, RibbonPath& path, const ZTurn& turn, float stepLength, float halfWidth) {
    turtle.direction = apply(turn, turtle.direction);
    turtle.position += turtle.direction * stepLength;
    path.add(turtle.position, halfWidth);
}

void walk(Turtle& turtle, RibbonPath& path, int steps, float degrees, float stepLength, float halfWidth) {
    ZTurn turn = zTurn(degrees);  // the same for every step
    for (int i = 0; i < steps; i++) step(turtle, path, turn, stepLength, halfWidth);
}

void walkSpiral(Turtle& turtle, RibbonPath& path, int steps, float startDegrees, float factor, float stepLength,
                float halfWidth) {
    float degrees = startDegrees;
    for (int i = 0; i < steps; i++) {
        step(turtle, path, zTurn(degrees), stepLength, halfWidth);
        degrees *= factor;
    }
}

PathSample samplePathAt(const RibbonPath& path, float x) {
    int last = path.count() - 1;
    if (last < 1) return {{0, 0, 0}, 0, {0, 0, 0}};
    if (!(x > 0)) x = 0;  // NaN too
    if (x > static_cast<float>(last)) x = static_cast<float>(last);
    int i = static_cast<int>(x);
    if (i > last - 1) i = last - 1;
    float h = x - static_cast<float>(i);
    const std::vector<float>& w = path.halfWidths;
    Vec3 segment = path.points[i + 1] - path.points[i];
    return {samplePath(path.points.data(), path.count(), path.closed, x), w[i] + (w[i + 1] - w[i]) * h,
            segment.normalized()};
}
