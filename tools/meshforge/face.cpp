#include "face.h"

#include <algorithm>
#include <cmath>

#include "paint.h"

static const float AA = 0.4f;  // mm of soft edge either side of a line, about half a texel

static float smooth(float e0, float e1, float x) {
    float t = std::min(1.0f, std::max(0.0f, (x - e0) / (e1 - e0)));
    return t * t * (3 - 2 * t);
}
static cv::Vec3f mix(cv::Vec3f a, cv::Vec3f b, float t) { return a + (b - a) * t; }

// A pen stroke: a quadratic curve from a through the pull of b to c, its
// width (mm) swelling from w0 at a to w1 halfway to w2 at c.
struct Stroke {
    Vec2 a, b, c;
    float w0, w1, w2;
};

static Vec2 along(const Stroke& s, float t) {
    float u = 1 - t;
    return {u * u * s.a.x + 2 * u * t * s.b.x + t * t * s.c.x, u * u * s.a.y + 2 * u * t * s.b.y + t * t * s.c.y};
}

// How much ink the stroke lays at q, 0..1.
static float ink(Vec2 q, const Stroke& s) {
    float reach = std::max({s.w0, s.w1, s.w2}) / 2 + AA;
    if (q.x < std::min({s.a.x, s.b.x, s.c.x}) - reach || q.x > std::max({s.a.x, s.b.x, s.c.x}) + reach ||
        q.y < std::min({s.a.y, s.b.y, s.c.y}) - reach || q.y > std::max({s.a.y, s.b.y, s.c.y}) + reach)
        return 0;
    const int steps = 24;
    float best = 1e9f, bestT = 0;
    Vec2 prev = s.a;
    for (int i = 1; i <= steps; ++i) {
        Vec2 next = along(s, float(i) / steps);
        float dx = next.x - prev.x, dy = next.y - prev.y, len2 = std::max(dx * dx + dy * dy, 1e-8f);
        float f = std::min(1.0f, std::max(0.0f, ((q.x - prev.x) * dx + (q.y - prev.y) * dy) / len2));
        float ex = prev.x + dx * f - q.x, ey = prev.y + dy * f - q.y, d = std::sqrt(ex * ex + ey * ey);
        if (d < best) {
            best = d;
            bestT = (i - 1 + f) / steps;
        }
        prev = next;
    }
    float w = bestT < 0.5f ? s.w0 + (s.w1 - s.w0) * bestT * 2 : s.w1 + (s.w2 - s.w1) * (bestT - 0.5f) * 2;
    return 1 - smooth(w / 2 - AA, w / 2 + AA, best);
}

// The height of a stroke's curve over x, for strokes that run left to right
// with their pull halfway across (lids, lips).
static float curveY(const Stroke& s, float x) {
    float t = std::min(1.0f, std::max(0.0f, (x - s.a.x) / (s.c.x - s.a.x)));
    return along(s, t).y;
}

static float disc(Vec2 q, Vec2 centre, float rx, float ry) {
    float dx = (q.x - centre.x) / rx, dy = (q.y - centre.y) / ry;
    return 1 - smooth(1 - AA / std::min(rx, ry), 1 + AA / std::min(rx, ry), std::sqrt(dx * dx + dy * dy));
}

// Parallel hatching lines `pitch` mm apart along direction (dx, dy), each
// `width` mm wide: the engraver's way of laying a shade.
static float hatch(Vec2 q, float dx, float dy, float pitch, float width) {
    if (width <= 0) return 0;
    float length = std::sqrt(dx * dx + dy * dy);
    dx /= length;
    dy /= length;
    float across = (q.x * -dy + q.y * dx) / pitch;
    float d = std::fabs(across - std::round(across)) * pitch;
    return 1 - smooth(width / 2 - AA, width / 2 + AA, d);
}

// One eye, the brow and the lid's fold above it, on the figure's side where
// q.x is positive (mirrored for the other). Paints into c, returns the ink.
static float eye(Vec2 q, cv::Vec3f& c, cv::Vec3f paper) {
    const Stroke upper = {{15, -1}, {30, 10}, {46, 1.5f}, 1.0f, 2.0f, 1.4f};
    const Stroke lower = {{16, -1.5f}, {31, -8}, {45, 0.5f}, 0.3f, 0.8f, 0.6f};
    float open = q.x > 15.5f && q.x < 45.5f && q.y < curveY(upper, q.x) && q.y > curveY(lower, q.x) ? 1.0f : 0.0f;
    float iris = disc(q, {31, 0}, 5.3f, 5.3f) * open, pupil = disc(q, {31, 0}, 2.3f, 2.3f) * open;
    c = mix(c, paper, 0.7f * open);
    c = mix(c, mix(paper, INK_COLOUR, 0.7f), iris);  // the iris a mid tone ...
    float dark = std::max(pupil, iris * hatch(q, 0.3f, 1, 1.2f, 0.5f));  // ... hatched round a black pupil
    dark = std::max(dark, iris * (1 - disc(q, {31, 0}, 4.6f, 4.6f)));     // and ringed
    c = mix(c, paper, disc(q, {32.7f, 1.7f}, 1.1f, 1.1f) * open);         // the catch of light

    float line = std::max({dark * (1 - disc(q, {32.7f, 1.7f}, 1.1f, 1.1f)), ink(q, upper), ink(q, lower)});
    line = std::max(line, ink(q, {{44, 1.5f}, {47, 3}, {49.5f, 4.8f}, 1.2f, 0.8f, 0.2f}));  // lashes at the corner
    line = std::max(line, 0.7f * ink(q, {{18, 4.5f}, {31, 13}, {43, 6}, 0.2f, 0.7f, 0.3f}));  // the lid's fold
    line = std::max(line, ink(q, {{12, 13}, {28, 23}, {49, 14}, 3.4f, 2.8f, 0.6f}));           // the brow
    return line;
}

// The nose: its shaded side, the wings and nostrils, the shadow under it.
static float nose(Vec2 q, Vec2 m) {
    float line = ink(q, {{8, -4}, {12.5f, -22}, {10, -36}, 0.2f, 1.0f, 0.6f});
    line = std::max(line, 0.6f * hatch(q, 1, -1.6f, 1.8f, 0.5f) * smooth(5, 8, q.x) * (1 - smooth(12, 14, q.x)) *
                              smooth(-36, -30, q.y) * (1 - smooth(-14, -8, q.y)));
    line = std::max(line, ink(m, {{6.5f, -42.5f}, {15.5f, -42}, {13, -34.5f}, 0.9f, 1.2f, 0.4f}));
    line = std::max(line, 0.9f * disc(m, {6.5f, -42.5f}, 3.2f, 1.5f));
    line = std::max(line, ink(q, {{-5, -44}, {0, -46.5f}, {5, -44}, 0.4f, 0.8f, 0.4f}));
    return line;
}

// The mouth 62 mm under the eyes: tinted lips round a bowed parting line,
// the philtrum above, a shade under the lower lip, the chin's curve.
static float mouth(Vec2 q, Vec2 m, cv::Vec3f& c, cv::Vec3f lips) {
    const float y = -62;
    const Stroke parting = {{0, y - 0.5f}, {10, y - 1.8f}, {22, y + 1.2f}, 1.7f, 1.4f, 0.5f};
    const Stroke upper = {{0, y + 4}, {5, y + 9}, {21, y + 1.3f}, 0.4f, 0.5f, 0.3f};
    const Stroke lower = {{0, y - 10}, {14, y - 9}, {21, y + 1}, 0.3f, 0.4f, 0.2f};
    if (m.x < 21) {
        float split = curveY(parting, m.x);
        if (m.y > split && m.y < curveY(upper, m.x)) c = mix(c, lips, 0.85f);
        if (m.y < split && m.y > curveY(lower, m.x)) c = mix(c, lips, 0.55f);
    }
    float line = std::max({ink(m, parting), 0.6f * ink(m, upper), 0.35f * ink(m, lower)});
    line = std::max(line, ink(m, {{20, y + 2.5f}, {22.5f, y + 1}, {23, y - 1.5f}, 0.3f, 0.8f, 0.3f}));  // corners
    line = std::max(line, 0.5f * ink(m, {{3.5f, y + 5.5f}, {4.5f, y + 11}, {4.5f, y + 16}, 0.7f, 0.4f, 0.0f}));
    line = std::max(line, ink(q, {{-7, y - 13}, {0, y - 14.5f}, {7, y - 13}, 0.3f, 1.0f, 0.3f}));
    line = std::max(line, ink(q, {{-11, y - 30}, {0, y - 34}, {11, y - 30}, 0.2f, 0.8f, 0.2f}));
    return line;
}

// An ear on the side of the head, seen along x: q.x is depth (front +).
static float ear(Vec2 q, cv::Vec3f& c, cv::Vec3f rouge) {
    const Vec2 centre = {0, -17};
    const float rx = 14, ry = 28;
    float dx = (q.x - centre.x) / rx, dy = (q.y - centre.y) / ry, r = std::sqrt(dx * dx + dy * dy);
    if (r > 1.4f) return 0;
    c = mix(c, rouge, 0.25f * disc(q, centre, rx, ry));
    float gradient = std::sqrt(dx * dx / (rx * rx) + dy * dy / (ry * ry)) / std::max(r, 1e-3f);
    float width = 1.8f + 1.0f * smooth(0.5f, -0.5f, dx);  // heavier round the back
    float rim = 1 - smooth(width / 2 - AA, width / 2 + AA, std::fabs(r - 1) / std::max(gradient, 1e-3f));
    float line = std::max(rim, ink(q, {{centre.x + 3, centre.y + 19}, {centre.x - 10, centre.y + 8},
                                       {centre.x - 1, centre.y - 14}, 1.0f, 2.0f, 0.8f}));
    return std::max(line, 0.55f * disc(q, {centre.x + 3, centre.y - 3}, 3.5f, 6));
}

cv::Vec3f paintFace(cv::Vec3f c, Vec3 p, Vec3 n, const Body& b) {
    const float h = b.height, k = b.bulk * b.height;
    const cv::Vec3f lips(0.22f, 0.24f, 0.62f), rouge(0.40f, 0.44f, 0.86f), paper(0.86f, 0.92f, 0.95f);
    Vec2 q = {p.x / k, (p.y - 1600 * h) / h};  // the front view, eyes on y = 0
    Vec2 m = {std::fabs(q.x), q.y};             // mirrored onto the figure's left
    float front = smooth(0.25f, 0.5f, n.z), line = 0;

    if (front > 0) {
        cv::Vec3f drawn = mix(c, rouge, 0.18f * disc(m, {44, -30}, 16, 13));
        line = std::max({eye(m, drawn, paper), nose(q, m), mouth(q, m, drawn, lips)});
        c = mix(c, drawn, front);
        line *= front;
    }
    float side = smooth(0.45f, 0.7f, std::fabs(n.x));
    if (side > 0) {
        cv::Vec3f drawn = c;
        float e = ear({p.z / k, q.y}, drawn, rouge);
        c = mix(c, drawn, side);
        line = std::max(line, side * e);
    }
    return mix(c, INK_COLOUR, line);
}
