// The rooms and caves behind whole acts, built as a paper theatre is: flat
// sheets of toned paper cut to shape and laid one over another, each edge a
// little uneven and each sheet throwing a soft shadow on the one below.
// Drawn in greys; the look prints them in the palette.
#include "draw.h"
#include "look.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

static const float kPi = 3.14159265f;

// A picture being laid up sheet by sheet: tone in 0..1, and how much of each
// pixel is covered (the backdrops cover everything; the front layer of the
// second cave leaves its middle open).
struct Collage {
    cv::Mat tone, cover;  // CV_32F
    uint32_t seed;
};

static Collage collage(int w, int h, uint32_t seed) {
    return {cv::Mat(h, w, CV_32F, cv::Scalar(0.85)), cv::Mat(h, w, CV_32F, cv::Scalar(0)), seed};
}

// An outline's edge made uneven, as scissors leave it: points every few
// pixels, nudged along the edge's normal by smooth noise; in eighths of a
// pixel from `origin`.
static std::vector<cv::Point> scissorCut(const std::vector<cv::Point2f>& outline, float amount, cv::Point origin, cv::RNG& rng) {
    std::vector<cv::Point> out;
    float phase = static_cast<float>(rng.uniform(0.0, 100.0));
    for (size_t i = 0; i < outline.size(); ++i) {
        cv::Point2f a = outline[i], b = outline[(i + 1) % outline.size()], d = b - a;
        float len = static_cast<float>(cv::norm(d));
        int steps = std::max(1, static_cast<int>(len / 6.0f));
        cv::Point2f normal = len > 0 ? cv::Point2f(-d.y, d.x) / len : cv::Point2f(0, 0);
        for (int s = 0; s < steps; ++s) {
            float t = static_cast<float>(s) / steps;
            phase += len / steps * 0.05f;
            float nudge = amount * (0.6f * std::sin(phase) + 0.4f * std::sin(phase * 2.7f + 1.3f));
            cv::Point2f p = a + d * t + normal * nudge;
            out.push_back(cv::Point(cvRound((p.x - origin.x) * 8), cvRound((p.y - origin.y) * 8)));
        }
    }
    return out;
}

// Lays one sheet: the first outline is the sheet, any others are holes cut
// in it; in `tone` with a mottle of its own, shadowing what lies below.
// Only the sheet's own box, with room for its shadow, is touched.
static void laySheet(Collage& c, const std::vector<std::vector<cv::Point2f>>& outlines, float tone) {
    cv::RNG rng(c.seed++);
    float unit = c.tone.cols / 1000.0f;
    int pad = static_cast<int>(24 * unit);
    cv::Rect box = cv::boundingRect(outlines[0]);
    box = cv::Rect(box.x - pad, box.y - pad, box.width + 2 * pad, box.height + 2 * pad) & cv::Rect(0, 0, c.tone.cols, c.tone.rows);
    if (box.empty()) return;
    cv::Mat mask(box.size(), CV_8U, cv::Scalar(0));
    for (size_t i = 0; i < outlines.size(); ++i)
        cv::fillPoly(mask, std::vector<std::vector<cv::Point>>{scissorCut(outlines[i], 1.2f * unit, box.tl(), rng)},
                     cv::Scalar(i == 0 ? 255 : 0), cv::LINE_AA, 3);
    cv::Mat sheet, shadow, moved;
    mask.convertTo(sheet, CV_32F, 1.0 / 255.0);
    cv::GaussianBlur(sheet, shadow, cv::Size(0, 0), 5.0 * unit);
    cv::Mat shift = (cv::Mat_<double>(2, 3) << 1, 0, 4.0 * unit, 0, 1, 6.0 * unit);
    cv::warpAffine(shadow, moved, shift, shadow.size());
    cv::Mat mottle = smoothNoise(box.size(), static_cast<int>(60 * unit), c.seed++);
    for (int y = 0; y < box.height; ++y)
        for (int x = 0; x < box.width; ++x) {
            float a = sheet.at<float>(y, x);
            float& t = c.tone.at<float>(y + box.y, x + box.x);
            t *= 1.0f - 0.45f * moved.at<float>(y, x) * (1.0f - a);
            t = t * (1.0f - a) + (tone + 0.05f * (mottle.at<float>(y, x) - 0.5f)) * a;
            float& k = c.cover.at<float>(y + box.y, x + box.x);
            k = std::max(k, a);
        }
}

static std::vector<cv::Point2f> rect(const Collage& c, float x0, float y0, float x1, float y1) {
    float w = static_cast<float>(c.tone.cols), h = static_cast<float>(c.tone.rows);
    return {{x0 * w, y0 * h}, {x1 * w, y0 * h}, {x1 * w, y1 * h}, {x0 * w, y1 * h}};
}

static std::vector<cv::Point2f> points(const Collage& c, std::initializer_list<cv::Point2f> unit) {
    std::vector<cv::Point2f> out;
    for (cv::Point2f p : unit) out.push_back(cv::Point2f(p.x * c.tone.cols, p.y * c.tone.rows));
    return out;
}

// A rock arch's opening: steep sides meeting in a rounded vault, with
// stalactites hanging from it.
static std::vector<cv::Point2f> archOpening(const Collage& c, float left, float right, float top, float bottom, int teeth, cv::RNG& rng) {
    std::vector<cv::Point2f> pts;
    float w = static_cast<float>(c.tone.cols), h = static_cast<float>(c.tone.rows);
    const int n = 72;
    for (int i = 0; i <= n; ++i) {
        float a = kPi * (1.0f - static_cast<float>(i) / n);
        float x = 0.5f * (left + right) + 0.5f * (right - left) * std::cos(a);
        float y = top + (bottom - top) * (1.0f - std::sqrt(std::max(0.0f, std::sin(a)))) + static_cast<float>(rng.uniform(-0.006, 0.006));
        if (teeth > 0 && i % (n / teeth) == n / teeth / 2 && std::sin(a) > 0.4f) {
            float len = static_cast<float>(rng.uniform(0.05, 0.14)) * (bottom - top), half = 0.01f + 0.01f * std::sin(a);
            pts.push_back(cv::Point2f((x - half) * w, y * h));
            pts.push_back(cv::Point2f(x * w, (y + len) * h));
            pts.push_back(cv::Point2f((x + half) * w, y * h));
        } else {
            pts.push_back(cv::Point2f(x * w, y * h));
        }
    }
    return pts;
}

// A rounded stone sitting on the line y (fractions of the picture).
static std::vector<cv::Point2f> stone(const Collage& c, float x, float y, float r) {
    std::vector<cv::Point2f> pts;
    float w = static_cast<float>(c.tone.cols), h = static_cast<float>(c.tone.rows);
    for (int k = 0; k < 16; ++k) {
        float a = 2 * kPi * k / 16;
        pts.push_back(cv::Point2f((x + r * std::cos(a)) * w, y * h - r * w * (0.8f * std::max(-std::sin(a), -0.2f))));
    }
    return pts;
}

static cv::Mat toPicture(const Collage& c) {
    cv::Mat grey, bgr;
    c.tone.convertTo(grey, CV_8U, 255.0);
    cv::cvtColor(grey, bgr, cv::COLOR_GRAY2BGR);
    return bgr;
}

// Looking out of a cave at the hills: three rock sheets, each with a wider
// mouth than the one behind it, over a pale sky. The show sees the lower
// third of it, panning from left of the middle to the right edge, so the
// mouths' vaults come down into that band and the hills lie inside it.
cv::Mat drawCave(const DrawContext& d) {
    Collage c = collage(d.size, d.size * 9 / 16, d.seed);
    cv::RNG rng(d.seed);
    laySheet(c, {rect(c, 0, 0, 1, 1)}, 0.9f);
    laySheet(c, {points(c, {{0, 0.85f}, {0.3f, 0.82f}, {0.5f, 0.85f}, {0.7f, 0.81f}, {0.85f, 0.84f}, {1, 0.82f}, {1, 1}, {0, 1}})}, 0.74f);
    laySheet(c, {points(c, {{0, 0.9f}, {0.35f, 0.87f}, {0.6f, 0.9f}, {0.8f, 0.86f}, {1, 0.89f}, {1, 1}, {0, 1}})}, 0.6f);
    const float open[3][4] = {{0.3f, 1.06f, 0.7f, 1.25f}, {0.2f, 1.14f, 0.63f, 1.35f}, {0.08f, 1.24f, 0.54f, 1.5f}};
    const float tones[3] = {0.46f, 0.32f, 0.18f};
    for (int i = 0; i < 3; ++i)
        laySheet(c, {rect(c, -0.01f, -0.01f, 1.01f, 1.01f), archOpening(c, open[i][0], open[i][1], open[i][2], open[i][3], 10 + 3 * i, rng)},
                 tones[i]);
    for (int i = 0; i < 14; ++i) {  // facets of the rock face above the mouth
        float x = static_cast<float>(rng.uniform(0.0, 1.0)), y = static_cast<float>(rng.uniform(0.05, 0.42));
        float s = static_cast<float>(rng.uniform(0.06, 0.13));
        laySheet(c, {points(c, {{x - s, y}, {x + 0.2f * s, y - 0.5f * s}, {x + s, y + 0.1f * s}, {x + 0.1f * s, y + 0.7f * s}})},
                 static_cast<float>(rng.uniform(0.13, 0.27)));
    }
    laySheet(c, {points(c, {{0, 0.95f}, {0.25f, 0.94f}, {0.5f, 0.955f}, {0.78f, 0.935f}, {1, 0.95f}, {1, 1.01f}, {0, 1.01f}})}, 0.3f);
    for (int i = 0; i < 7; ++i)  // boulders on the floor
        laySheet(c, {stone(c, 0.1f + 0.14f * i + static_cast<float>(rng.uniform(-0.03, 0.03)), 0.965f, static_cast<float>(rng.uniform(0.012, 0.025)))},
                 0.42f);
    return toPicture(c);
}

// A ridge of pines cut from one sheet: the ground line at y with a row of
// trees standing on it, each three tiers of boughs and a trunk.
static std::vector<cv::Point2f> pineRidge(const Collage& c, float y, float height, float spacing, cv::RNG& rng) {
    float w = static_cast<float>(c.tone.cols), h = static_cast<float>(c.tone.rows);
    std::vector<cv::Point2f> pts = {{-0.01f * w, 1.01f * h}};
    for (float x = static_cast<float>(rng.uniform(0.0, double(spacing))); x < 1.0f + spacing; x += spacing * static_cast<float>(rng.uniform(0.7, 1.3))) {
        float tall = height * static_cast<float>(rng.uniform(0.7, 1.2)), half = tall * 0.28f * h / w, base = y + 0.01f * std::sin(9 * x);
        pts.push_back(cv::Point2f((x - 0.08f * half) * w, base * h));  // the trunk
        pts.push_back(cv::Point2f((x - 0.08f * half) * w, (base - 0.12f * tall) * h));
        for (int tier = 0; tier < 3; ++tier) {  // boughs: each tier wider below, narrower above
            float lo = base - (0.12f + 0.27f * tier) * tall, hi = lo - 0.36f * tall, reach = half * (1.0f - 0.25f * tier);
            pts.push_back(cv::Point2f((x - reach) * w, lo * h));
            pts.push_back(cv::Point2f((x - 0.3f * reach) * w, hi * h + 0.06f * tall * h));
        }
        pts.push_back(cv::Point2f(x * w, (base - 1.05f * tall) * h));  // the tip
        for (int tier = 2; tier >= 0; --tier) {
            float lo = base - (0.12f + 0.27f * tier) * tall, hi = lo - 0.36f * tall, reach = half * (1.0f - 0.25f * tier);
            pts.push_back(cv::Point2f((x + 0.3f * reach) * w, hi * h + 0.06f * tall * h));
            pts.push_back(cv::Point2f((x + reach) * w, lo * h));
        }
        pts.push_back(cv::Point2f((x + 0.08f * half) * w, (base - 0.12f * tall) * h));
        pts.push_back(cv::Point2f((x + 0.08f * half) * w, base * h));
    }
    pts.push_back(cv::Point2f(1.01f * w, 1.01f * h));
    return pts;
}

// Inside the grotto, looking out: rock in layers round a ragged opening hung
// with stalactites, and through it the moon over three ridges of pines, each
// nearer one darker, as a paper theatre lays its flats.
cv::Mat drawGrotto(const DrawContext& d) {
    Collage c = collage(d.size, d.size * 4 / 9, d.seed);
    cv::RNG rng(d.seed);
    laySheet(c, {rect(c, 0, 0, 1, 1)}, 0.88f);  // the night sky, pale as paper
    std::vector<cv::Point2f> moon;
    for (int k = 0; k < 40; ++k) {
        float a = 2 * kPi * k / 40;
        moon.push_back(cv::Point2f((0.6f + 0.03f * std::cos(a)) * c.tone.cols, 0.22f * c.tone.rows + 0.03f * c.tone.cols * std::sin(a)));
    }
    laySheet(c, {moon}, 0.97f);
    laySheet(c, {pineRidge(c, 0.62f, 0.22f, 0.035f, rng)}, 0.68f);
    laySheet(c, {pineRidge(c, 0.7f, 0.3f, 0.05f, rng)}, 0.52f);
    laySheet(c, {pineRidge(c, 0.8f, 0.42f, 0.075f, rng)}, 0.36f);
    const float open[3][4] = {{0.26f, 0.74f, 0.1f, 0.95f}, {0.2f, 0.8f, 0.05f, 1.05f}, {0.12f, 0.88f, 0.0f, 1.2f}};
    const float tones[3] = {0.4f, 0.32f, 0.24f};
    for (int i = 0; i < 3; ++i)
        laySheet(c, {rect(c, -0.01f, -0.01f, 1.01f, 1.01f), archOpening(c, open[i][0], open[i][1], open[i][2], open[i][3], 12 + 2 * i, rng)},
                 tones[i]);
    for (int i = 0; i < 18; ++i) {  // facets of the rock walls either side
        float x = static_cast<float>(i % 2 ? rng.uniform(0.0, 0.16) : rng.uniform(0.84, 1.0)), y = static_cast<float>(rng.uniform(0.05, 0.9));
        float s = static_cast<float>(rng.uniform(0.03, 0.07));
        laySheet(c, {points(c, {{x - s, y}, {x + 0.2f * s, y - s}, {x + s, y + 0.1f * s}, {x + 0.1f * s, y + 1.4f * s}})},
                 static_cast<float>(rng.uniform(0.2, 0.32)));
    }
    laySheet(c, {points(c, {{0, 0.88f}, {0.3f, 0.86f}, {0.6f, 0.89f}, {1, 0.86f}, {1, 1.01f}, {0, 1.01f}})}, 0.18f);  // the floor
    for (float x : {0.08f, 0.3f, 0.72f, 0.93f}) {  // stalagmites, blunt and leaning
        float half = static_cast<float>(rng.uniform(0.015, 0.025)), top = static_cast<float>(rng.uniform(0.66, 0.78));
        laySheet(c, {points(c, {{x - half, 0.9f}, {x - half * 0.4f, top + 0.05f}, {x + 0.1f * half, top}, {x + half * 0.5f, top + 0.06f}, {x + half, 0.9f}})},
                 0.26f);
    }
    return toPicture(c);
}

// The grotto's mouth, laid just in front of its back at the same size: rock
// on both sides, a lip of hanging rock above, boulders below; open in the
// middle so the back shows through.
cv::Mat drawGrottoMouth(const DrawContext& d) {
    Collage c = collage(d.size, d.size * 4 / 9, d.seed);
    cv::RNG rng(d.seed);
    laySheet(c, {rect(c, -0.01f, -0.01f, 1.01f, 1.01f), archOpening(c, 0.14f, 0.86f, 0.1f, 1.2f, 11, rng)}, 0.2f);
    laySheet(c, {points(c, {{-0.01f, 0.9f}, {0.2f, 0.86f}, {0.45f, 0.9f}, {0.7f, 0.87f}, {1.01f, 0.9f}, {1.01f, 1.01f}, {-0.01f, 1.01f}})}, 0.3f);
    for (int i = 0; i < 4; ++i)
        laySheet(c, {stone(c, 0.18f + 0.2f * i + static_cast<float>(rng.uniform(-0.04, 0.04)), 0.93f, static_cast<float>(rng.uniform(0.025, 0.05)))},
                 0.38f);
    cv::Mat grey, bgra(c.tone.size(), CV_8UC4);
    c.tone.convertTo(grey, CV_8U, 255.0);
    for (int y = 0; y < bgra.rows; ++y)
        for (int x = 0; x < bgra.cols; ++x) {
            uchar v = grey.at<uchar>(y, x);
            bgra.at<cv::Vec4b>(y, x) = cv::Vec4b(v, v, v, cv::saturate_cast<uchar>(c.cover.at<float>(y, x) * 255.0f));
        }
    return bgra;
}

// An empty room in one-point perspective: papered back wall with a window
// on the night, a door in the left wall, a lamp, bare boards. Wider than the
// screen's shape: the camera sees past both sides of a 16:9 room.
cv::Mat drawEmptyRoom(const DrawContext& d) {
    Collage c = collage(d.size, d.size * 10 / 21, d.seed);
    const float l = 0.27f, r = 0.73f, t = 0.15f, b = 0.7f;
    laySheet(c, {rect(c, 0, 0, 1, 1)}, 0.8f);
    for (int i = 0; i < 12; ++i)  // wallpaper in strips
        laySheet(c, {rect(c, l + (r - l) * i / 12.0f, t, l + (r - l) * (i + 1) / 12.0f, b)}, i % 2 ? 0.7f : 0.78f);
    laySheet(c, {rect(c, l, t, r, t + 0.05f)}, 0.55f);  // frieze
    laySheet(c, {rect(c, 0.41f, 0.25f, 0.59f, 0.55f), rect(c, 0.425f, 0.27f, 0.495f, 0.4f), rect(c, 0.505f, 0.27f, 0.575f, 0.4f),
                 rect(c, 0.425f, 0.41f, 0.495f, 0.535f), rect(c, 0.505f, 0.41f, 0.575f, 0.535f)},
             0.3f);  // the window frame; the panes are open on the night behind
    laySheet(c, {rect(c, 0.425f, 0.27f, 0.575f, 0.535f)}, 0.22f);
    std::vector<cv::Point2f> moon;
    for (int k = 0; k < 30; ++k) {
        float a = 2 * kPi * k / 30;
        moon.push_back(cv::Point2f((0.46f + 0.02f * std::cos(a)) * c.tone.cols, 0.33f * c.tone.rows + 0.02f * c.tone.cols * std::sin(a)));
    }
    laySheet(c, {moon}, 0.95f);
    for (float y0 : {0.4f}) laySheet(c, {rect(c, 0.425f, y0, 0.575f, y0 + 0.01f)}, 0.3f);
    laySheet(c, {rect(c, 0.495f, 0.27f, 0.505f, 0.535f)}, 0.3f);
    laySheet(c, {rect(c, 0.39f, 0.55f, 0.61f, 0.57f)}, 0.36f);  // sill
    laySheet(c, {points(c, {{0, 0}, {l, t}, {l, b}, {0, 1}})}, 0.6f);   // left wall
    laySheet(c, {points(c, {{1, 0}, {r, t}, {r, b}, {1, 1}})}, 0.52f);  // right wall
    laySheet(c, {points(c, {{0.07f, 0.21f}, {0.19f, 0.25f}, {0.19f, 0.79f}, {0.07f, 0.9f}})}, 0.36f);  // door
    laySheet(c, {points(c, {{0.09f, 0.26f}, {0.17f, 0.29f}, {0.17f, 0.5f}, {0.09f, 0.49f}})}, 0.44f);
    laySheet(c, {points(c, {{0.09f, 0.55f}, {0.17f, 0.55f}, {0.17f, 0.76f}, {0.09f, 0.84f}})}, 0.44f);
    laySheet(c, {stone(c, 0.16f, 0.56f, 0.008f)}, 0.8f);  // its knob
    laySheet(c, {points(c, {{0, 0}, {1, 0}, {r, t}, {l, t}})}, 0.86f);  // ceiling
    laySheet(c, {rect(c, 0.4985f, 0.0f, 0.5015f, 0.1f)}, 0.2f);          // the lamp's cord and shade
    laySheet(c, {points(c, {{0.48f, 0.1f}, {0.52f, 0.1f}, {0.545f, 0.15f}, {0.455f, 0.15f}})}, 0.3f);
    for (int i = 0; i < 14; ++i) {  // floorboards, each its own strip
        float a = static_cast<float>(i) / 14, e = static_cast<float>(i + 1) / 14;
        laySheet(c, {points(c, {{l + (r - l) * a, b}, {l + (r - l) * e, b}, {-0.3f + 1.6f * e, 1.01f}, {-0.3f + 1.6f * a, 1.01f}})},
                 i % 2 ? 0.44f : 0.5f);
    }
    laySheet(c, {rect(c, l, b - 0.025f, r, b)}, 0.32f);  // skirting
    return toPicture(c);
}
