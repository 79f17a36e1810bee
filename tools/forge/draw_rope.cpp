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
    // A stretch passing over another shades the one below beside it, away
    // from the light, so each crossing reads as over or under.
    cv::Mat top(size, CV_32F, cv::Scalar(-1e9f)), over;
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const RopeTexel& t = buf[static_cast<size_t>(y * size.width + x)];
            if (t.cover > 0.0f) top.at<float>(y, x) = t.height;
        }
    int reach = std::max(1, cvRound(radius * 0.6f)), lean = reach * 2 / 3;
    cv::dilate(top, over, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * reach + 1, 2 * reach + 1)));
    cv::Mat m = transparentCanvas(size.width, size.height);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const RopeTexel& t = buf[static_cast<size_t>(y * size.width + x)];
            if (t.cover <= 0.0f) continue;
            float tone = ropeTone(t, radius, length);
            if (over.at<float>(std::max(0, y - lean), std::max(0, x - lean)) > t.height + 0.3f) tone *= 0.4f;
            cv::Vec4b& d = m.at<cv::Vec4b>(y, x);
            for (int k = 0; k < 3; ++k) d[k] = cv::saturate_cast<uchar>(tone * kHemp[k] * 255.0f);
            d[3] = cv::saturate_cast<uchar>(t.cover * 255.0f);
        }
    return m;
}

// Fits a rope's centre line, given in free units, into the canvas with a
// margin of the rope's radius, and draws it at twice the size then shrinks it.
static cv::Mat layOut(const std::vector<cv::Point2f>& xy, const std::vector<float>& heights, cv::Size size,
                      float radiusUnits) {
    cv::Point2f lo = xy[0], hi = xy[0];
    for (cv::Point2f p : xy) lo = cv::Point2f(std::min(lo.x, p.x), std::min(lo.y, p.y)), hi = cv::Point2f(std::max(hi.x, p.x), std::max(hi.y, p.y));
    cv::Rect2f box(lo, hi);
    box.x -= radiusUnits, box.y -= radiusUnits, box.width += 2 * radiusUnits, box.height += 2 * radiusUnits;
    cv::Size big(size.width * 2, size.height * 2);
    float margin = 8.0f, scale = std::min((big.width - 2 * margin) / box.width, (big.height - 2 * margin) / box.height);
    cv::Point2f shift((big.width - box.width * scale) / 2 - box.x * scale, (big.height - box.height * scale) / 2 - box.y * scale);
    RopeLine line;
    for (size_t i = 0; i < xy.size(); ++i) line.points.push_back(xy[i] * scale + shift), line.heights.push_back(heights[i]);
    cv::Mat m = drawRope(line, big, radiusUnits * scale);
    cv::resize(m, m, size, 0, 0, cv::INTER_AREA);
    return m;
}

// A knot given with its heights: both smoothed, then laid out.
static cv::Mat tieRope(const std::vector<cv::Point3f>& knot, cv::Size size, float radiusUnits) {
    std::vector<cv::Point2f> xy, z;
    for (const cv::Point3f& p : knot) xy.push_back(cv::Point2f(p.x, p.y)), z.push_back(cv::Point2f(p.z, 0.0f));
    xy = smoothCurve(xy, false, 12), z = smoothCurve(z, false, 12);
    std::vector<float> heights;
    for (cv::Point2f h : z) heights.push_back(h.x);
    return layOut(xy, heights, size, radiusUnits);
}

// Heights for a line drawn flat, as a knot diagram reads: walking along it,
// the rope passes over and under in turn at each crossing it meets. Each
// pass lifts or sinks the rope smoothly over `reach` either side.
static std::vector<float> alternatingHeights(const std::vector<cv::Point2f>& pts, float reach) {
    std::vector<float> along(pts.size(), 0.0f);
    for (size_t i = 1; i < pts.size(); ++i) along[i] = along[i - 1] + static_cast<float>(cv::norm(pts[i] - pts[i - 1]));
    std::vector<float> passes;  // where along the line each crossing is met, twice per crossing
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        for (size_t j = i + 2; j + 1 < pts.size(); ++j) {
            cv::Point2f a = pts[i], r = pts[i + 1] - a, b = pts[j], q = pts[j + 1] - b;
            float den = r.x * q.y - r.y * q.x;
            if (std::abs(den) < 1e-9f) continue;
            cv::Point2f ab = b - a;
            float t = (ab.x * q.y - ab.y * q.x) / den, u = (ab.x * r.y - ab.y * r.x) / den;
            if (t < 0.0f || t >= 1.0f || u < 0.0f || u >= 1.0f) continue;
            passes.push_back(along[i] + t * (along[i + 1] - along[i]));
            passes.push_back(along[j] + u * (along[j + 1] - along[j]));
        }
    std::sort(passes.begin(), passes.end());
    std::vector<float> heights(pts.size(), 0.0f);
    for (size_t k = 0; k < passes.size(); ++k)
        for (size_t i = 0; i < pts.size(); ++i) {
            float d = std::abs(along[i] - passes[k]) / reach;
            if (d < 1.0f) heights[i] += (k % 2 == 0 ? 1.0f : -1.0f) * 0.5f * (1.0f + std::cos(kPi * d));
        }
    return heights;
}

// A knot drawn as its diagram: the line through the given points, smoothed,
// crossing over and under in turn.
static cv::Mat tieFlat(const std::vector<cv::Point2f>& points, cv::Size size, float radiusUnits) {
    std::vector<cv::Point2f> xy = smoothCurve(points, false, 12);
    return layOut(xy, alternatingHeights(xy, radiusUnits * 3.0f), size, radiusUnits);
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

// A figure-eight knot, loosely tied, standing part up (y grows downwards):
// the rope comes down through the upper lobe to the waist, goes round the
// lower lobe and back across the waist, round the upper lobe, and its tail
// is led down outside and out through the lower lobe. `head` and `tail` are
// how far the two ends run on above and below the knot.
static std::vector<cv::Point2f> figureEight(float head, float tail) {
    return {{0.0f, -6.5f - head}, {0.0f, -6.0f}, {0.0f, -4.5f}, {0.05f, -2.6f}, {0.0f, -1.1f},
            // the waist, then the lower lobe
            {0.0f, 0.0f}, {1.2f, 0.7f}, {2.0f, 2.3f}, {1.5f, 3.9f}, {0.0f, 4.5f},
            {-1.5f, 3.9f}, {-2.0f, 2.4f}, {-1.3f, 0.9f},
            // across the waist, round the upper lobe
            {0.0f, 0.0f}, {1.3f, -0.9f}, {2.0f, -2.4f}, {1.5f, -3.9f}, {0.0f, -4.5f},
            {-1.5f, -3.9f}, {-2.0f, -2.5f}, {-1.5f, -1.2f},
            // the tail: out to the side, in across the lower lobe, out at its foot
            {-2.4f, -0.1f}, {-3.1f, 1.1f}, {-2.4f, 1.9f}, {-1.2f, 2.4f}, {-0.4f, 3.3f},
            {-0.1f, 4.5f}, {0.0f, 5.6f}, {0.0f, 6.5f + tail}};
}

cv::Mat drawRopeKnot(const DrawContext& c) {
    // laid on its side, the standing part off to the right
    std::vector<cv::Point2f> pts;
    for (cv::Point2f p : figureEight(0.5f, 0.5f)) pts.push_back(cv::Point2f(-p.y, p.x));
    return tieFlat(pts, cv::Size(c.size, c.size * 570 / 768), 0.33f);
}

cv::Mat drawHangingKnot(const DrawContext& c) {
    return tieFlat(figureEight(9.0f, 1.5f), cv::Size(c.size * 342 / 768, c.size), 0.33f);
}

// A loop knot: an overhand knot high in the rope coming down, the working
// end led up out of it, round a long loop below, its end tucked behind the
// knot; the knot sits clear of the hanging knot's, which the show lays
// over this rope.
cv::Mat drawLoopKnot(const DrawContext& c) {
    auto curve = [](float t) {
        return cv::Point3f(std::sin(t) + 2.0f * std::sin(2.0f * t), std::cos(t) - 2.0f * std::cos(2.0f * t),
                           -std::sin(3.0f * t));
    };
    std::vector<cv::Point3f> knot = knotCurve(curve, kPi + 0.5f, 3.0f * kPi - 0.5f);
    return tieRope(joined({{0.8f, -7.0f, 0.0f}, {1.0f, -5.5f, 0.0f}, {1.0f, -4.0f, 0.3f}}, knot,
                          {{-1.1f, -3.6f, 0.6f}, {-2.0f, -4.4f, 0.3f}, {-3.2f, -3.0f, 0.0f}, {-3.9f, 0.5f, 0.0f},
                           {-3.8f, 6.4f, 0.0f}, {-2.8f, 12.6f, 0.0f}, {0.0f, 15.7f, 0.0f}, {2.8f, 13.1f, 0.0f},
                           {3.7f, 7.2f, 0.0f}, {3.2f, 3.8f, -1.5f}, {2.2f, 1.3f, -2.0f}}),
                   cv::Size(c.size * 385 / 768, c.size), 0.5f);
}
