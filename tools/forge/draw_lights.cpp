// The lights of the sky: the moon through its phases on a strip of night,
// and the sun with a face among its rays. Drawn in greys, lit as a ball is;
// the look's engraving screen hatches whatever is in shadow.
#include "draw.h"
#include "look.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

static const float kPi = 3.14159265f;
static const cv::Vec3f kGold(0.35f, 0.78f, 1.0f);  // B G R, for the ochre accent

struct Crater {
    float u, v, r;  // on the moon's face, in moon radii
};

// One moon's craters and seas, the same for every phase: it is one moon.
static std::vector<Crater> craters(uint32_t seed) {
    cv::RNG rng(seed);
    std::vector<Crater> out;
    while (out.size() < 22) {
        float u = static_cast<float>(rng.uniform(-0.9, 0.9)), v = static_cast<float>(rng.uniform(-0.9, 0.9));
        float r = static_cast<float>(out.size() < 4 ? rng.uniform(0.12, 0.2) : rng.uniform(0.03, 0.09));
        if (u * u + v * v < (0.95f - r) * (0.95f - r)) out.push_back({u, v, r});
    }
    return out;
}

// The tone of the moon's face at (u, v) in moon radii: bright plains, darker
// seas, craters with a shadowed wall towards the light and a lit one away.
static float faceTone(float u, float v, const std::vector<Crater>& cs, const cv::Mat& seas, int size) {
    int sx = std::clamp(static_cast<int>((u * 0.5f + 0.5f) * (size - 1)), 0, size - 1);
    int sy = std::clamp(static_cast<int>((v * 0.5f + 0.5f) * (size - 1)), 0, size - 1);
    float tone = 0.95f - 0.2f * std::clamp((seas.at<float>(sy, sx) - 0.5f) * 4.0f, 0.0f, 1.0f);
    for (const Crater& c : cs) {
        float du = (u - c.u) / c.r, dv = (v - c.v) / c.r, d = std::sqrt(du * du + dv * dv);
        if (d > 1.15f) continue;
        float side = (du + dv) * 0.7071f;  // -1 towards the light (upper left), +1 away
        if (d < 0.85f) tone -= 0.1f + 0.12f * std::max(0.0f, -side);  // the floor, its near wall in shadow
        else tone += 0.06f * std::max(0.0f, side) - 0.2f * std::max(0.0f, -side);  // the rim
    }
    return tone;
}

cv::Mat drawMoonPhases(const DrawContext& c) {
    const int moons = 5;
    int w = c.size, h = c.size / 4;
    cv::Mat m(h, w, CV_8UC4);
    cv::Mat sky = smoothNoise(m.size(), h / 3, c.seed), seas = smoothNoise(cv::Size(256, 256), 60, c.seed + 1);
    std::vector<Crater> cs = craters(c.seed + 2);
    cv::RNG rng(c.seed + 3);
    float r = 0.38f * h, step = static_cast<float>(w) / moons;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float tone = 0.2f + 0.08f * sky.at<float>(y, x) + 0.06f * std::abs(y - 0.5f * h) / h;
            int i = std::min(moons - 1, static_cast<int>(x / step));
            float u = (x + 0.5f - (i + 0.5f) * step) / r, v = (y + 0.5f - 0.5f * h) / r, d2 = u * u + v * v;
            if (d2 < 1.0f) {
                // the sun goes round from behind the moon (new, before the first) to in front of it (full, the third)
                float phase = 2 * kPi * (i + 0.5f) / moons;
                float lit = u * std::sin(phase) - std::sqrt(1.0f - d2) * std::cos(phase);
                float day = std::clamp(lit * r / 3.0f + 0.5f, 0.0f, 1.0f);  // the terminator, a few texels soft
                float face = faceTone(u, v, cs, seas, seas.cols) * (1.0f - 0.12f * d2);
                float night = 0.34f + 0.06f * (face - 0.8f);  // earthshine: the seas still show
                tone = night + (face - night) * day;
                float rim = std::clamp((std::sqrt(d2) - 1.0f) * r + 2.5f, 0.0f, 1.0f);  // an ink ring round the disc
                tone += (0.08f - tone) * rim;
            }
            uchar g = cv::saturate_cast<uchar>(tone * 255.0f);
            m.at<cv::Vec4b>(y, x) = cv::Vec4b(g, g, g, 255);
        }
    for (int k = 0; k < w / 12; ++k) {  // stars between the moons
        cv::Point2f p(static_cast<float>(rng.uniform(0, w)), static_cast<float>(rng.uniform(0, h)));
        float du = std::fmod(p.x, step) - 0.5f * step, dv = p.y - 0.5f * h;
        if (du * du + dv * dv < 1.3f * r * 1.3f * r) continue;
        float s = static_cast<float>(rng.uniform(0.006, 0.016)) * h;
        cv::line(m, p - cv::Point2f(s * 2, 0), p + cv::Point2f(s * 2, 0), grey(0.95), std::max(1, static_cast<int>(s * 0.4f)), cv::LINE_AA);
        cv::line(m, p - cv::Point2f(0, s * 2), p + cv::Point2f(0, s * 2), grey(0.95), std::max(1, static_cast<int>(s * 0.4f)), cv::LINE_AA);
        cv::circle(m, p, std::max(1, static_cast<int>(s * 0.6f)), grey(0.98), cv::FILLED, cv::LINE_AA);
    }
    return m;
}

// The sun as an engraver gives it: a face in a disc, a glow ruled with fine
// beams, a ring of straight rays and a ring of flames between them, the
// long rays reaching into the corners.
cv::Mat drawSun(const DrawContext& c) {
    int s = c.size;
    cv::Mat m = transparentCanvas(s, s);
    cv::Point2f o(0.5f * s, 0.5f * s);
    float disc = 0.27f * s;
    const int rays = 16;
    shadedBall(m, o, 0.43f * s, 1.0f, 0.86f, kGold);  // the glow behind the rays, ruled with fine beams
    for (int k = 0; k < 96; ++k) {
        float a = 2 * kPi * k / 96;
        cv::line(m, o + cv::Point2f(std::cos(a), std::sin(a)) * disc, o + cv::Point2f(std::cos(a), std::sin(a)) * 0.42f * s, ink(120, 170, 200),
                 std::max(1, s / 500), cv::LINE_AA);
    }
    for (int k = 0; k < rays; ++k) {  // straight rays, long ones towards the corners
        float a = 2 * kPi * k / rays, len = (k % 2 ? 0.41f : 0.5f) * s * (k % 4 == 2 ? 1.25f : 1.0f), half = 0.07f * s;
        cv::Point2f dir(std::cos(a), std::sin(a)), side(-dir.y, dir.x);
        std::vector<cv::Point2f> ray = {o + side * half + dir * disc * 0.8f, o + dir * len, o - side * half + dir * disc * 0.8f};
        shadedShape(m, ray, 1.0f, 0.7f, kGold);
    }
    for (int k = 0; k < rays; ++k) {  // wavy flames between them, tapering to a point
        float a = 2 * kPi * (k + 0.5f) / rays;
        cv::Point2f dir(std::cos(a), std::sin(a)), side(-dir.y, dir.x);
        std::vector<cv::Point2f> left, right;
        for (int i = 0; i <= 16; ++i) {
            float t = i / 16.0f, half = 0.03f * s * (1.0f - t);
            cv::Point2f mid = o + dir * (disc * 0.85f + t * 0.17f * s) + side * (0.025f * s * std::sin(t * 2.5f * kPi));
            left.push_back(mid + side * half);
            right.push_back(mid - side * half);
        }
        left.insert(left.end(), right.rbegin(), right.rend());
        shadedShape(m, left, 1.0f, 0.62f, kGold);
    }
    shadedBall(m, o, disc, 1.0f, 0.8f, kGold);
    cv::circle(m, o, static_cast<int>(disc), grey(0.2), std::max(2, s / 200), cv::LINE_AA);
    cv::circle(m, o, static_cast<int>(disc * 0.92f), grey(0.45), std::max(1, s / 400), cv::LINE_AA);
    // the face: brows, eyes looking aside, a nose, a calm smile, full cheeks
    int line = std::max(2, s / 160);
    cv::Scalar pen = grey(0.18);
    for (int side : {-1, 1}) {
        cv::Point2f eye = o + cv::Point2f(side * 0.09f * s, -0.045f * s);
        cv::ellipse(m, eye + cv::Point2f(0, -0.035f * s), cv::Size(static_cast<int>(0.055f * s), static_cast<int>(0.022f * s)), 0, 200, 340, pen,
                    line, cv::LINE_AA);
        cv::ellipse(m, eye, cv::Size(static_cast<int>(0.04f * s), static_cast<int>(0.018f * s)), 0, 0, 360, grey(0.97), cv::FILLED, cv::LINE_AA);
        cv::ellipse(m, eye, cv::Size(static_cast<int>(0.04f * s), static_cast<int>(0.018f * s)), 0, 0, 360, pen, line, cv::LINE_AA);
        cv::circle(m, eye + cv::Point2f(0.012f * s, 0), static_cast<int>(0.014f * s), pen, cv::FILLED, cv::LINE_AA);
        cv::ellipse(m, o + cv::Point2f(side * 0.14f * s, 0.07f * s), cv::Size(static_cast<int>(0.04f * s), static_cast<int>(0.03f * s)), 0, 0, 360,
                    ink(150, 190, 240), cv::FILLED, cv::LINE_AA);
    }
    std::vector<cv::Point> nose = {o + cv::Point2f(-0.005f * s, -0.03f * s), o + cv::Point2f(-0.03f * s, 0.06f * s), o + cv::Point2f(0.01f * s, 0.07f * s)};
    cv::polylines(m, nose, false, pen, line, cv::LINE_AA);
    cv::ellipse(m, o + cv::Point2f(0, 0.09f * s), cv::Size(static_cast<int>(0.08f * s), static_cast<int>(0.04f * s)), 0, 20, 160, pen, line + 1,
                cv::LINE_AA);
    cv::ellipse(m, o + cv::Point2f(0, 0.145f * s), cv::Size(static_cast<int>(0.03f * s), static_cast<int>(0.01f * s)), 0, 0, 180, grey(0.4), line,
                cv::LINE_AA);
    return m;
}
