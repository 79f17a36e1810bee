#include "look.h"

#include "key.h"
#include "outline.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

cv::Mat smoothNoise(cv::Size size, int cell, uint32_t seed, bool wraps) {
    cv::RNG rng(seed);
    cell = std::max(1, cell);
    int cols = std::max(2, (size.width + cell - 1) / cell), rows = std::max(2, (size.height + cell - 1) / cell);
    if (wraps) {  // a whole number of cells across, so the grid's period is the picture's
        cols = std::max(2, static_cast<int>(std::lround(static_cast<double>(size.width) / cell)));
        rows = std::max(2, static_cast<int>(std::lround(static_cast<double>(size.height) / cell)));
    }
    cv::Mat coarse(rows, cols, CV_32F);
    rng.fill(coarse, cv::RNG::UNIFORM, 0.0, 1.0);
    cv::Mat out;
    if (wraps) {
        // three cells of the grid's own far side on each side, then the middle
        double fx = static_cast<double>(size.width) / cols, fy = static_cast<double>(size.height) / rows;
        cv::Mat ring;
        cv::copyMakeBorder(coarse, ring, 3, 3, 3, 3, cv::BORDER_WRAP);
        cv::resize(ring, out, cv::Size(static_cast<int>(std::lround((cols + 6) * fx)), static_cast<int>(std::lround((rows + 6) * fy))), 0, 0,
                   cv::INTER_CUBIC);
        out = out(cv::Rect(static_cast<int>(std::lround(3 * fx)), static_cast<int>(std::lround(3 * fy)), size.width, size.height)).clone();
    } else {
        cv::resize(coarse, out, size, 0, 0, cv::INTER_CUBIC);
    }
    return cv::min(cv::max(out, 0.0), 1.0);
}

// Paper: fibres at about a screen pixel and a slow cloudiness, in 0..1.
static cv::Mat grain(cv::Size size, const Print& p) {
    int fibre = std::max(1, static_cast<int>(std::lround(1.2f * p.scale)));
    int cloud = std::max(8, static_cast<int>(std::lround(60.0f * p.scale)));
    cv::Mat g = smoothNoise(size, fibre, p.seed ^ 0x9e3779b9u, p.repeats);
    cv::Mat c = smoothNoise(size, cloud, p.seed + 7, p.repeats);
    return 0.7f * g + 0.3f * c;
}

// The engraving: lines at 45 degrees about seven screen pixels apart, so
// they stay lines at 1080p. Along a row the lines are a whole number of
// texels apart: a fractional spacing beats with the texel grid into broad
// bands where the lines are thick. Pictures that repeat get a spacing that
// divides their sides, so the lines run on across the seam. Pictures the
// show draws small print with a lighter screen, which would only be noise
// there.
struct Screen {
    float period;    // texels between lines
    float strength;  // 0..1
};

static Screen screenFor(cv::Size size, const Print& p) {
    float period = std::max(3.0f, 7.0f * p.scale);
    float shown = std::max(size.width, size.height) / p.scale;
    float strength = std::clamp((shown - 80.0f) / 220.0f, 0.0f, 1.0f);
    int along = std::max(4, static_cast<int>(std::lround(period * std::sqrt(2.0f))));
    if (p.repeats)
        while (size.width % along || size.height % along) --along;
    return {along / std::sqrt(2.0f), strength};
}

// Ink share of the screen at a texel: lines that thicken as the tone
// darkens, crossed by a second set in the deep shadows.
static float engraving(float tone, int x, int y, float period) {
    float along = period * std::sqrt(2.0f);
    auto line = [&](float coordinate, float width) {
        if (width <= 0.0f) return 0.0f;
        float f = coordinate / along - std::floor(coordinate / along);
        float dist = std::abs(f - 0.5f) * period;  // texels from the line's middle
        float half = width * 0.5f * period;
        return std::clamp(half - dist + 0.5f, 0.0f, 1.0f) * std::min(1.0f, 2.0f * half);
    };
    float first = std::pow(std::clamp((0.8f - tone) / 0.6f, 0.0f, 1.0f), 0.8f);
    float second = std::clamp((0.42f - tone) / 0.32f, 0.0f, 1.0f);
    return std::max(line(static_cast<float>(x + y), first), line(static_cast<float>(x - y + 8192), second));
}

// The printed colour of one texel at a tone, under the screen and grain.
static cv::Vec3f printed(cv::Vec3f drawn, float tone, int x, int y, float grainValue, const Screen& s, Accent accent) {
    float shadow = std::clamp((0.8f - tone) / 0.6f, 0.0f, 1.0f) * s.strength;
    float lines = engraving(tone, x, y, s.period) * s.strength;
    // the screen carries the shadow, so the tone under it lifts
    cv::Vec3f c = printColour(drawn, tone + (1.0f - tone) * 0.45f * shadow, accent);
    c += (inkColour() - c) * (0.65f * lines);
    return c * (0.93f + 0.12f * grainValue);
}

// Tones stretched down from the lightest few percent of a drawing on white,
// so a faint one is not left grey; by at most a third, so a pale one (a
// cloud) stays pale. A drawing with no white in it is left as it is.
struct Levels {
    float high, top, gain;  // `high` is printed at `top`, and what is darker `gain` times as far below
    float operator()(float tone) const { return std::clamp(top - (high - tone) * gain, 0.0f, 1.0f); }
};

static Levels levelsOf(const std::vector<float>& tones) {
    const Levels asDrawn{1.0f, 1.0f, 1.0f};
    if (tones.size() < 100) return asDrawn;
    std::vector<float> t = tones;
    size_t lo = t.size() / 50, hi = t.size() - 1 - t.size() / 50;
    std::nth_element(t.begin(), t.begin() + lo, t.end());
    float low = t[lo];
    std::nth_element(t.begin(), t.begin() + hi, t.end());
    float high = t[hi];
    if (high < 0.85f) return asDrawn;
    return {high, 0.97f, std::clamp(0.92f / std::max(high - low, 0.01f), 1.0f, 1.35f)};
}

static void fillHoles(cv::Mat* mask, double maxArea) {
    if (maxArea <= 0) return;
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> tree;
    cv::findContours(*mask, contours, tree, cv::RETR_CCOMP, cv::CHAIN_APPROX_SIMPLE);
    for (size_t i = 0; i < contours.size(); ++i) {
        bool isHole = tree[i][3] >= 0;
        if (isHole && cv::contourArea(contours[i]) <= maxArea)
            cv::drawContours(*mask, contours, static_cast<int>(i), cv::Scalar(255), cv::FILLED);
    }
}

// A fine mask shrunk to the share of each texel it covers.
static cv::Mat shrink(const cv::Mat& fine, cv::Size size, double blur) {
    cv::Mat soft = fine;
    if (blur > 0) cv::GaussianBlur(fine, soft, cv::Size(0, 0), blur);
    cv::Mat out;
    cv::resize(soft, out, size, 0, 0, cv::INTER_AREA);
    out.convertTo(out, CV_32F, 1.0 / 255.0);
    return out;
}

// Light from the upper left on the shape as if it were a low relief: the
// difference of the blurred shape a little up-left and down-right of a texel.
static cv::Mat relief(const cv::Mat& shape, double area) {
    double radius = std::clamp(0.05 * std::sqrt(area), 2.0, 40.0);
    cv::Mat soft;
    shape.convertTo(soft, CV_32F, 1.0 / 255.0);
    cv::GaussianBlur(soft, soft, cv::Size(0, 0), radius);
    int d = std::max(1, static_cast<int>(radius * 0.5));
    cv::Mat light(shape.size(), CV_32F, cv::Scalar(0));
    for (int y = 0; y < shape.rows; ++y)
        for (int x = 0; x < shape.cols; ++x) {
            float lit = soft.at<float>(std::max(0, y - d), std::max(0, x - d));
            float dark = soft.at<float>(std::min(shape.rows - 1, y + d), std::min(shape.cols - 1, x + d));
            light.at<float>(y, x) = lit - dark;
        }
    return light;
}

cv::Mat cutOut(const cv::Mat& bgra, const Print& p) {
    int longSide = std::max(bgra.cols, bgra.rows);
    int rim = std::clamp(static_cast<int>(std::lround(2.5f * p.scale)), 2, std::max(2, longSide / 40));
    int margin = rim + 6;
    // widths and heights padded to multiples of 4, which the loader keeps as they are
    int padRight = (4 - (bgra.cols + 2 * margin) % 4) % 4, padBottom = (4 - (bgra.rows + 2 * margin) % 4) % 4;
    cv::Mat src;
    cv::copyMakeBorder(bgra, src, margin, margin + padBottom, margin, margin + padRight, cv::BORDER_CONSTANT,
                       cv::Scalar(0, 0, 0, 0));
    cv::Size size = src.size();

    // The shape is cut on a finer grid and shrunk, so every edge is a ramp.
    int fine = std::clamp(3072 / std::max(size.width, size.height), 2, 3);
    cv::Size fineSize(size.width * fine, size.height * fine);
    cv::Mat alpha, shape;
    cv::extractChannel(src, alpha, 3);
    cv::resize(alpha, shape, fineSize, 0, 0, cv::INTER_LINEAR);
    shape = shape > 110;
    double fineArea = cv::countNonZero(shape);
    double holeArea = p.holes == Holes::FillAll ? 1e18 : p.holes == Holes::FillSmall ? 0.01 * fineArea : 0.0;
    fillHoles(&shape, holeArea);

    // Scissors leave a little paper round the drawing, never quite even.
    cv::Mat outside, inside;
    cv::distanceTransform(~shape, outside, cv::DIST_L2, cv::DIST_MASK_5);
    cv::distanceTransform(shape, inside, cv::DIST_L2, cv::DIST_MASK_5);
    cv::Mat wobble;
    cv::resize(smoothNoise(size, std::max(4, longSide / 25), p.seed + 1), wobble, fineSize, 0, 0, cv::INTER_LINEAR);
    cv::Mat reach = (rim + (wobble - 0.5f) * (rim * 0.9f)) * fine;
    cv::Mat cut = outside <= reach;
    fillHoles(&cut, holeArea);  // rims that meet close gaps the drawing left open
    cv::Mat coverage = shrink(cut, size, 0.5 * fine);
    // a slit too narrow to survive the shrink closes a gap: paper in it too
    cv::Mat reached = coverage > 0.5f / 255.0f, closed = reached.clone();
    fillHoles(&closed, holeArea / (fine * fine));
    cv::dilate(closed & ~reached, closed, cv::Mat());
    coverage.setTo(1.0f, closed);

    // One contour weight for the whole drawing, from the size of its shape,
    // kept between one and a half and four screen pixels.
    double area = fineArea / (fine * fine);
    float weight = 0.011f * static_cast<float>(std::sqrt(area));
    weight = std::clamp(weight, std::max(1.0f, 1.5f * p.scale), std::max(1.2f, 4.0f * p.scale));
    cv::Mat contour = shrink(shape & (inside <= weight * fine), size, 0.0);

    cv::Mat shapeHere, insideHere;
    cv::resize(shape, shapeHere, size, 0, 0, cv::INTER_AREA);
    shapeHere = shapeHere > 127;
    cv::distanceTransform(shapeHere, insideHere, cv::DIST_L2, cv::DIST_MASK_5);
    src = withoutOutline(src, insideHere);
    cv::Mat light = relief(shapeHere, area);

    std::vector<cv::Vec3f> drawn(size.area());
    std::vector<float> tones;
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            cv::Vec4b s = src.at<cv::Vec4b>(y, x);
            float sa = s[3] / 255.0f;
            cv::Vec3f& c = drawn[y * size.width + x];
            for (int k = 0; k < 3; ++k) c[k] = s[k] / 255.0f * sa + (1.0f - sa);
            if (sa > 0.5f) tones.push_back(luma(c));
        }
    Levels levels = levelsOf(tones);

    cv::Mat g = grain(size, p);
    Screen screen = screenFor(size, p);
    cv::Mat out(size, CV_8UC3);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            bool border = x < 2 || y < 2 || x >= size.width - 2 || y >= size.height - 2;
            float a = border ? 0.0f : coverage.at<float>(y, x);
            if (a < 0.5f / 255.0f) {
                out.at<cv::Vec3b>(y, x) = kKeyColour;
                continue;
            }
            const cv::Vec3f& d = drawn[y * size.width + x];
            float lit = shapeHere.at<uchar>(y, x) ? light.at<float>(y, x) : 0.0f;
            float tone = levels(luma(d)) * (1.0f + 0.3f * lit);
            cv::Vec3f c = printed(d, std::clamp(tone, 0.0f, 1.0f), x, y, g.at<float>(y, x), screen, p.accent);
            c += (inkColour() - c) * (0.9f * contour.at<float>(y, x));
            out.at<cv::Vec3b>(y, x) = keyedTexel(c, a);
        }
    return out;
}

cv::Mat wholePicture(const cv::Mat& bgr, const Print& p) {
    cv::Mat g = grain(bgr.size(), p);
    Screen screen = screenFor(bgr.size(), p);
    cv::Mat out(bgr.size(), CV_8UC3);
    for (int y = 0; y < bgr.rows; ++y)
        for (int x = 0; x < bgr.cols; ++x) {
            cv::Vec3b s = bgr.at<cv::Vec3b>(y, x);
            cv::Vec3f d = cv::Vec3f(s[0], s[1], s[2]) / 255.0f;
            cv::Vec3f c = printed(d, luma(d), x, y, g.at<float>(y, x), screen, p.accent);
            out.at<cv::Vec3b>(y, x) = keyedTexel(c, 1.0f);
        }
    return out;
}
