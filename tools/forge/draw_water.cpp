// Strips of water, cut along the top of the waves so what is behind shows
// above them, each engraved its own way: long swells with foam on the
// crests, a choppy sea of small pointed waves, calm water in ripples.
#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

static const float kPi = 3.14159265f;
static const cv::Vec3f kSea(0.95f, 0.86f, 0.74f);  // B G R: a grey blue, for the slate accent
static const cv::Vec3f kPool(1.0f, 0.9f, 0.48f);    // B G R: a blue green, for the teal accent

// Fills each column below its crest with a tone that darkens with depth.
static cv::Mat body(int w, int h, const std::vector<float>& crest, float top, float bottom, cv::Vec3f tint = kSea) {
    cv::Mat m = transparentCanvas(w, h);
    for (int x = 0; x < w; ++x)
        for (int y = std::max(0, static_cast<int>(crest[x])); y < h; ++y) {
            float depth = (y - crest[x]) / h, a = std::clamp(y + 1.0f - crest[x], 0.0f, 1.0f);
            float tone = top + (bottom - top) * std::min(1.0f, depth * 2.5f);
            cv::Vec4b& p = m.at<cv::Vec4b>(y, x);
            for (int k = 0; k < 3; ++k) p[k] = cv::saturate_cast<uchar>(tone * tint[k] * 255.0f);
            p[3] = cv::saturate_cast<uchar>(a * 255.0f);
        }
    return m;
}

static void inkLine(cv::Mat& m, const std::vector<cv::Point2f>& pts, float tone, int width, cv::Vec3f tint = kWhite) {
    std::vector<cv::Point> line;
    for (cv::Point2f p : pts) line.push_back(cv::Point(cvRound(p.x * 4), cvRound(p.y * 4)));
    cv::polylines(m, line, false, ink(cvRound(tone * tint[0] * 255), cvRound(tone * tint[1] * 255), cvRound(tone * tint[2] * 255)),
                  width, cv::LINE_AA, 2);
}

// Long swells: sharp crests on a trochoid, each with a cap of foam, and
// engraved lines under the crest that follow the wave's face.
cv::Mat drawSwell(const DrawContext& c) {
    int w = c.size, h = c.size / 4;
    cv::RNG rng(c.seed);
    float phase = static_cast<float>(rng.uniform(0.0, 6.28));
    std::vector<float> crest(w);
    for (int x = 0; x < w; ++x) {
        // a trochoid, found by walking its parameter until it passes x
        float u = 2 * kPi * 4.0f * x / w + phase, s = u;
        for (int i = 0; i < 6; ++i) s = u + 0.75f * std::sin(s);
        crest[x] = h * (0.4f - 0.16f * std::cos(s));
    }
    cv::Mat m = body(w, h, crest, 1.0f, 0.72f);
    for (int k = 1; k < 9; ++k) {  // the face, line under line
        std::vector<cv::Point2f> pts;
        for (int x = 0; x < w; x += 2) pts.push_back(cv::Point2f(static_cast<float>(x), crest[x] + k * h * 0.065f));
        inkLine(m, pts, 0.3f, std::max(1, c.size / 500));
    }
    for (int x = 1; x < w - 1; ++x)  // foam on each crest
        if (crest[x] < crest[x - 1] && crest[x] <= crest[x + 1])
            for (int i = -3; i <= 3; ++i)
                shadedBall(m, cv::Point2f(x + i * h * 0.05f, crest[x] + std::abs(i) * h * 0.02f + h * 0.02f), h * (0.045f - 0.005f * std::abs(i)),
                           1.0f, 0.78f);
    return m;
}

// A choppy sea: many small pointed waves, darker, hatched level.
cv::Mat drawChop(const DrawContext& c) {
    int w = c.size, h = c.size / 4;
    cv::RNG rng(c.seed);
    std::vector<float> crest(w);
    float phase = static_cast<float>(rng.uniform(0.0, 6.28));
    for (int x = 0; x < w; ++x) {
        float u = static_cast<float>(x) / w;
        crest[x] = h * (0.38f + 0.05f * std::sin(u * 2 * kPi * 2 + phase) + 0.12f * (1.0f - std::abs(std::sin(u * kPi * 11 + phase))));
    }
    cv::Mat m = body(w, h, crest, 0.9f, 0.62f);
    for (int row = 0; row < 9; ++row) {  // rows of little wavelets, smaller further down
        float y0 = h * (0.62f + 0.045f * row), size = h * (0.05f - 0.003f * row);
        for (float x = static_cast<float>(rng.uniform(0.0, 20.0)); x < w; x += size * 2.6f) {
            std::vector<cv::Point2f> arc;
            for (int i = 0; i <= 8; ++i) {
                float a = kPi * i / 8.0f;
                arc.push_back(cv::Point2f(x - size * std::cos(a), y0 - size * 0.7f * std::sin(a)));
            }
            inkLine(m, arc, row % 2 ? 0.85f : 0.2f, std::max(1, c.size / 600));
        }
    }
    return m;
}

// Calm water as an engraver cuts it, filling nearly all its strip so the
// show's strips cover the frame they pass through: a low swell along the
// top, then level ripples, fine and close towards the far edge and longer
// and wider apart nearer, strokes of dark blue-green ink with white glints
// between them, on water of a pale blue green.
cv::Mat drawRipples(const DrawContext& c) {
    int w = c.size, h = c.size / 6;
    cv::RNG rng(c.seed);
    std::vector<float> crest(w);
    for (int x = 0; x < w; ++x) {
        float u = static_cast<float>(x) / w;
        crest[x] = h * (0.07f + 0.025f * std::sin(u * 2 * kPi * 5) + 0.012f * std::sin(u * 2 * kPi * 17 + 1.0f));
    }
    cv::Mat m = body(w, h, crest, 1.0f, 0.92f, kPool);
    for (float depth = 0.02f; depth < 1.0f; depth += 0.012f + 0.05f * depth) {  // rows of ripples, apart by perspective
        float y = h * (0.1f + 0.88f * depth), len0 = w * (0.02f + 0.08f * depth);
        for (float x = -static_cast<float>(rng.uniform(0.0, 1.0)) * len0; x < w; x += len0 * static_cast<float>(rng.uniform(1.4, 2.4))) {
            float len = len0 * static_cast<float>(rng.uniform(0.6, 1.0)), lift = h * (0.004f + 0.012f * depth);
            std::vector<cv::Point2f> ripple;
            for (int k = 0; k <= 12; ++k) ripple.push_back(cv::Point2f(x + len * k / 12.0f, y - lift * std::sin(k * kPi / 12)));
            inkLine(m, ripple, 0.45f, std::max(1, static_cast<int>(c.size / 1400.0f * (1.0f + 1.5f * depth))), kPool);
            std::vector<cv::Point2f> glint;
            for (int k = 3; k <= 9; ++k) glint.push_back(cv::Point2f(x + len * (k / 12.0f + 0.4f), y + lift * 1.5f));
            inkLine(m, glint, 1.0f, std::max(1, static_cast<int>(c.size / 1400.0f * (1.0f + 1.5f * depth))));
        }
    }
    return m;
}
