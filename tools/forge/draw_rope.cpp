// Twisted rope tied in knots: three strands laid round each other, each
// spun from fibres, drawn from a centre line with a height along it so the
// rope passes over and under itself where it crosses.
#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

static const float kPi = 3.14159265f;
static const cv::Vec3f kHemp(0.62f, 0.83f, 1.0f);  // B G R

// The rope's centre line: points and their heights (higher passes over).
struct RopeLine {
    std::vector<cv::Point2f> points;
    std::vector<float> heights;
};

// What the rope shows at a texel: the topmost stretch of it there.
struct RopeTexel {
    float height = -1e9f, dist = 1e9f, along = 0.0f, across = 0.0f, lit = 0.0f, cover = 0.0f;
};

static float hash01(int a, int b) {
    uint32_t h = static_cast<uint32_t>(a) * 73856093u ^ static_cast<uint32_t>(b) * 19349663u;
    h ^= h >> 13, h *= 0x5bd1e995u, h ^= h >> 15;
    return (h & 0xffff) / 65535.0f;
}

// Rasterises the line, keeping for each texel the highest stretch within
// the rope's radius (the nearest where two stretches are about level).
static std::vector<RopeTexel> layRope(const RopeLine& line, cv::Size size, float radius) {
    std::vector<RopeTexel> buf(static_cast<size_t>(size.area()));
    float along = 0.0f;
    const cv::Point2f light(-0.7071f, -0.7071f);
    for (size_t i = 0; i + 1 < line.points.size(); ++i) {
        cv::Point2f a = line.points[i], b = line.points[i + 1], ab = b - a;
        float len = static_cast<float>(cv::norm(ab));
        if (len <= 0.0f) continue;
        cv::Point2f dir = ab / len, side(-dir.y, dir.x);
        int x0 = std::max(0, static_cast<int>(std::min(a.x, b.x) - radius - 2));
        int x1 = std::min(size.width - 1, static_cast<int>(std::max(a.x, b.x) + radius + 2));
        int y0 = std::max(0, static_cast<int>(std::min(a.y, b.y) - radius - 2));
        int y1 = std::min(size.height - 1, static_cast<int>(std::max(a.y, b.y) + radius + 2));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                cv::Point2f p(x + 0.5f, y + 0.5f);
                float t = std::clamp((p - a).dot(dir) / len, 0.0f, 1.0f);
                cv::Point2f off = p - (a + ab * t);
                float d = static_cast<float>(cv::norm(off));
                if (d > radius + 0.5f) continue;
                float h = line.heights[i] + (line.heights[i + 1] - line.heights[i]) * t;
                RopeTexel& tx = buf[static_cast<size_t>(y * size.width + x)];
                bool above = h > tx.height + 0.15f, level = std::abs(h - tx.height) <= 0.15f && d < tx.dist;
                if (!above && !level) continue;
                float cover = std::clamp(radius - d + 0.5f, 0.0f, 1.0f);
                tx.cover = std::max(above ? cover : tx.cover, cover);
                tx.height = h, tx.dist = d, tx.along = along + len * t;
                tx.across = std::clamp(off.dot(side) / radius, -1.0f, 1.0f);
                tx.lit = side.dot(light);
            }
        along += len;
    }
    return buf;
}

// The tone of the rope at a texel: a lit cylinder, crossed by the strands'
// spiral grooves, each strand a rounded bundle of fibres; whipped ends.
static float ropeTone(const RopeTexel& t, float radius, float length) {
    float v = t.across, round = std::sqrt(std::max(0.0f, 1.0f - v * v));
    float cylinder = 0.55f + 0.45f * round - 0.2f * v * t.lit;
    float pitch = radius * 2.2f;  // one strand's width along the rope
    float phase = (t.along + radius * std::asin(v) * 1.1f) / pitch;
    int strand = static_cast<int>(std::floor(phase));
    float f = phase - strand;
    // each strand lit on its leading side, in shadow towards the next
    float bulge = std::sin(kPi * f) * (1.15f - 0.6f * f);
    float groove = f < 0.14f || f > 0.88f ? 0.12f : 1.0f;
    // fibres run steeper than the strands, each a little lighter or darker
    float fibreAt = (t.along - radius * std::asin(v) * 0.5f) / std::max(1.5f, radius * 0.07f);
    float fibre = 0.75f + 0.35f * hash01(static_cast<int>(std::floor(fibreAt)), strand);
    float tone = cylinder * (0.45f + 0.6f * bulge) * groove * fibre;
    // whipping: a few turns of twine bound round each end
    float fromEnd = std::min(t.along, length - t.along);
    if (fromEnd > radius * 0.5f && fromEnd < radius * 1.6f) {
        float turn = std::sin((t.along + v * radius * 0.15f) / (radius * 0.16f) * kPi);
        tone = cylinder * (0.5f + 0.25f * std::abs(turn));
    }
    if (std::abs(v) > 0.84f) tone = std::min(tone, 0.16f);  // the ink line along each side
    return std::clamp(tone, 0.05f, 1.0f);
}

static cv::Mat drawRope(const RopeLine& line, cv::Size size, float radius) {
    float length = 0.0f;
    for (size_t i = 0; i + 1 < line.points.size(); ++i) length += static_cast<float>(cv::norm(line.points[i + 1] - line.points[i]));
    std::vector<RopeTexel> buf = layRope(line, size, radius);
    cv::Mat m = transparentCanvas(size.width, size.height);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const RopeTexel& t = buf[static_cast<size_t>(y * size.width + x)];
            if (t.cover <= 0.0f) continue;
            float tone = ropeTone(t, radius, length);
            cv::Vec4b& d = m.at<cv::Vec4b>(y, x);
            for (int k = 0; k < 3; ++k) d[k] = cv::saturate_cast<uchar>(tone * kHemp[k] * 255.0f);
            d[3] = cv::saturate_cast<uchar>(t.cover * 255.0f);
        }
    return m;
}

// A knot given in free units: smoothed, fitted into the canvas with a
// margin of the rope's radius, and drawn at twice the size then shrunk.
static cv::Mat tieRope(const std::vector<cv::Point3f>& knot, cv::Size size, float radiusUnits) {
    std::vector<cv::Point2f> xy, z;
    for (const cv::Point3f& p : knot) xy.push_back(cv::Point2f(p.x, p.y)), z.push_back(cv::Point2f(p.z, 0.0f));
    xy = smoothCurve(xy, false, 12), z = smoothCurve(z, false, 12);
    cv::Point2f lo = xy[0], hi = xy[0];
    for (cv::Point2f p : xy) lo = cv::Point2f(std::min(lo.x, p.x), std::min(lo.y, p.y)), hi = cv::Point2f(std::max(hi.x, p.x), std::max(hi.y, p.y));
    cv::Rect2f box(lo, hi);
    box.x -= radiusUnits, box.y -= radiusUnits, box.width += 2 * radiusUnits, box.height += 2 * radiusUnits;
    cv::Size big(size.width * 2, size.height * 2);
    float margin = 8.0f, scale = std::min((big.width - 2 * margin) / box.width, (big.height - 2 * margin) / box.height);
    cv::Point2f shift((big.width - box.width * scale) / 2 - box.x * scale, (big.height - box.height * scale) / 2 - box.y * scale);
    RopeLine line;
    for (size_t i = 0; i < xy.size(); ++i) line.points.push_back(xy[i] * scale + shift), line.heights.push_back(z[i].x);
    cv::Mat m = drawRope(line, big, radiusUnits * scale);
    cv::resize(m, m, size, 0, 0, cv::INTER_AREA);
    return m;
}

// Samples of a closed knot's curve for t in [from, to].
template <typename Curve>
static std::vector<cv::Point3f> knotCurve(Curve curve, float from, float to) {
    std::vector<cv::Point3f> pts;
    const int n = 40;
    for (int i = 0; i <= n; ++i) pts.push_back(curve(from + (to - from) * i / n));
    return pts;
}

static std::vector<cv::Point3f> joined(std::vector<cv::Point3f> a, const std::vector<cv::Point3f>& b,
                                       const std::vector<cv::Point3f>& c) {
    a.insert(a.end(), b.begin(), b.end());
    a.insert(a.end(), c.begin(), c.end());
    return a;
}

// A figure-eight knot: the closed knot's curve opened round its outermost
// point, the two ends led away as the standing part and the tail.
static std::vector<cv::Point3f> figureEight(bool hanging) {
    auto curve = [](float t) {
        float r = 2.0f + std::cos(2.0f * t);
        return cv::Point3f(r * std::cos(3.0f * t), r * std::sin(3.0f * t), std::sin(4.0f * t));
    };
    std::vector<cv::Point3f> knot = knotCurve(curve, 0.35f, 2.0f * kPi - 0.35f);
    if (hanging)
        return joined({{1.2f, 10.0f, 0.0f}, {2.2f, 6.0f, 0.3f}, {3.0f, 3.6f, 0.6f}, {2.4f, 2.6f, 0.8f}}, knot,
                      {{2.4f, -2.6f, -0.8f}, {3.0f, -3.6f, -0.6f}, {2.2f, -6.0f, -0.3f}, {1.2f, -10.0f, 0.0f}});
    return joined({{7.0f, 2.6f, 0.0f}, {5.5f, 1.6f, 0.4f}, {3.4f, 1.9f, 0.8f}}, knot,
                  {{3.4f, -1.9f, -0.8f}, {5.5f, -1.6f, -0.4f}, {7.0f, -2.6f, 0.0f}});
}

cv::Mat drawRopeKnot(const DrawContext& c) {
    return tieRope(figureEight(false), cv::Size(c.size, c.size * 570 / 768), 0.4f);
}

cv::Mat drawHangingKnot(const DrawContext& c) {
    return tieRope(figureEight(true), cv::Size(c.size * 342 / 768, c.size), 0.4f);
}

// A loop knot: an overhand knot in the rope coming down, the working end
// led up out of it, round a wide loop below, its end tucked behind the knot.
cv::Mat drawLoopKnot(const DrawContext& c) {
    auto curve = [](float t) {
        return cv::Point3f(std::sin(t) + 2.0f * std::sin(2.0f * t), std::cos(t) - 2.0f * std::cos(2.0f * t),
                           -std::sin(3.0f * t));
    };
    std::vector<cv::Point3f> knot = knotCurve(curve, kPi + 0.5f, 3.0f * kPi - 0.5f);
    return tieRope(joined({{0.8f, -12.0f, 0.0f}, {1.1f, -8.0f, 0.0f}, {1.0f, -4.0f, 0.3f}}, knot,
                          {{-1.1f, -3.6f, 0.6f}, {-2.0f, -4.4f, 0.3f}, {-3.2f, -3.0f, 0.0f}, {-3.9f, 0.5f, 0.0f},
                           {-3.7f, 4.5f, 0.0f}, {-2.6f, 8.5f, 0.0f}, {0.0f, 10.5f, 0.0f}, {2.6f, 8.8f, 0.0f},
                           {3.6f, 5.0f, 0.0f}, {3.2f, 2.8f, -1.5f}, {2.2f, 1.2f, -2.0f}}),
                   cv::Size(c.size * 385 / 768, c.size), 0.5f);
}
