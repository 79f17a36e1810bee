// A right hand seen from the back, laid flat with the fingers to the right
// and the thumb above, coming out of a shirt cuff: each finger in three
// joints with knuckle wrinkles and a nail, as an engraved plate draws it.
#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

static const float kPi = 3.14159265f;
static const cv::Vec3f kSkin(0.76f, 0.87f, 1.0f);  // B G R

// A finger: where it leaves the hand, its heading, length and width (in the
// canvas height), how many joints it has and how far it curls at each.
struct Digit {
    cv::Point2f base;
    float degrees, length, width;
    int bones;
    float curl;
};

static cv::Point2f unitAt(float degrees) { return cv::Point2f(std::cos(degrees * kPi / 180), std::sin(degrees * kPi / 180)); }

// A few short strokes across the digit at a joint: the skin's wrinkles.
static void wrinkles(cv::Mat& m, cv::Point2f at, cv::Point2f dir, float width, int count, float line) {
    cv::Point2f side(-dir.y, dir.x);
    for (int i = 0; i < count; ++i) {
        cv::Point2f c = at + dir * ((i - (count - 1) * 0.5f) * width * 0.12f);
        float half = width * (0.3f - 0.05f * std::abs(i - (count - 1) * 0.5f));
        std::vector<cv::Point2f> arc;
        for (int k = 0; k <= 8; ++k) {
            float s = -1.0f + k / 4.0f;
            arc.push_back(c + side * (s * half) + dir * (width * 0.06f * (1.0f - s * s)));
        }
        shadedStroke(m, arc, line, 0.3f, 0.3f, kSkin);
    }
}

// The nail on the last joint: a pale oval shield with its half-moon.
static void nail(cv::Mat& m, cv::Point2f tip, cv::Point2f dir, float width, float line) {
    float length = width * 0.62f, degrees = std::atan2(dir.y, dir.x) * 180 / kPi;
    cv::Point2f centre = tip - dir * (length * 0.95f);
    std::vector<cv::Point2f> rim = ovalOutline(centre, cv::Size2f(length * 0.62f + line, width * 0.34f + line), degrees);
    shadedShape(m, rim, 0.25f, 0.2f, kSkin);
    shadedShape(m, ovalOutline(centre, cv::Size2f(length * 0.62f, width * 0.34f), degrees), 1.0f, 0.7f, kWhite);
    std::vector<cv::Point2f> moon;
    for (int k = 0; k <= 8; ++k) {
        float a = -kPi / 2 + kPi * k / 8;
        moon.push_back(centre - dir * (length * 0.3f) + dir * (std::cos(a) * length * 0.12f) +
                       cv::Point2f(-dir.y, dir.x) * (std::sin(a) * width * 0.2f));
    }
    shadedStroke(m, moon, line * 0.7f, 0.45f, 0.45f, kSkin);
}

// One digit: its bones as rounded tubes in an ink outline, wrinkles at the
// joints and the nail; `unit` is the canvas height.
static void digit(cv::Mat& m, const Digit& d, float unit) {
    float line = unit * 0.008f, width = d.width * unit;
    static const float share[3] = {0.45f, 0.30f, 0.25f};
    std::vector<cv::Point2f> path = {d.base * unit};
    float heading = d.degrees;
    for (int b = 0; b < d.bones; ++b) {
        float part = d.bones == 3 ? share[b] : (b == 0 ? 0.55f : 0.45f);
        path.push_back(path.back() + unitAt(heading) * (d.length * unit * part));
        heading += d.curl;
    }
    std::vector<cv::Point2f> smooth = smoothCurve(path, false, 6);
    cv::Point2f tipDir = unitAt(heading - d.curl);
    // the tip's stroke ends at the bone's end: pull it in by the radius
    smooth.back() -= tipDir * (width * 0.5f);
    shadedStroke(m, smooth, width + 2 * line, 0.14f, 0.14f, kSkin);
    shadedStroke(m, smooth, width, 0.97f, 0.55f, kSkin);
    for (size_t j = 1; j + 1 < path.size(); ++j) {
        cv::Point2f dir = path[j + 1] - path[j - 1];
        dir /= static_cast<float>(cv::norm(dir));
        wrinkles(m, path[j], dir, width, j == 1 ? 4 : 3, line * 0.8f);
    }
    nail(m, smooth.back() + tipDir * (width * 0.5f), tipDir, width, line);
}

cv::Mat drawHand(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size * 213 / 435);
    float u = static_cast<float>(m.rows), line = u * 0.008f;
    auto at = [u](float x, float y) { return cv::Point2f(x * u, y * u); };
    // the thumb first, its root hidden under the back of the hand
    digit(m, Digit{cv::Point2f(0.56f, 0.40f), -28.0f, 0.58f, 0.17f, 2, 10.0f}, u);
    // the fingers, the little finger lowest, the index on top
    const Digit fingers[4] = {{cv::Point2f(0.93f, 0.71f), 12.0f, 0.60f, 0.115f, 3, 3.0f},
                              {cv::Point2f(0.97f, 0.575f), 5.0f, 0.78f, 0.13f, 3, 2.0f},
                              {cv::Point2f(0.99f, 0.44f), -1.0f, 0.84f, 0.14f, 3, 2.0f},
                              {cv::Point2f(0.97f, 0.305f), -7.0f, 0.74f, 0.135f, 3, 3.0f}};
    // the back of the hand: its ink outline under the fingers, its skin
    // over their roots, so they grow out of it without a line across
    std::vector<cv::Point2f> back = smoothCurve({at(0.33f, 0.34f), at(0.62f, 0.30f), at(0.92f, 0.23f), at(1.04f, 0.25f),
                                                 at(1.06f, 0.45f), at(1.02f, 0.66f), at(0.97f, 0.79f), at(0.80f, 0.80f),
                                                 at(0.56f, 0.73f), at(0.33f, 0.71f)},
                                                true, 8);
    std::vector<cv::Point2f> backRim;
    for (cv::Point2f p : back) backRim.push_back(p + (p - at(0.7f, 0.52f)) * (line / (0.3f * u)));
    shadedShape(m, backRim, 0.14f, 0.14f, kSkin);
    for (const Digit& d : fingers) digit(m, d, u);
    // the back's skin runs on over the knuckles and fades out there, so the
    // back and the fingers read as one skin, not a plate laid on them; it
    // only covers what is drawn already
    std::vector<cv::Point2f> over = smoothCurve({at(0.33f, 0.34f), at(0.62f, 0.30f), at(0.92f, 0.23f), at(1.18f, 0.22f),
                                                 at(1.22f, 0.45f), at(1.16f, 0.68f), at(1.10f, 0.80f), at(0.80f, 0.80f),
                                                 at(0.56f, 0.73f), at(0.33f, 0.71f)},
                                                true, 8);
    cv::Mat skin = transparentCanvas(m.cols, m.rows);
    shadedShape(skin, over, 0.95f, 0.6f, kSkin);
    for (int y = 0; y < skin.rows; ++y)
        for (int x = 0; x < skin.cols; ++x) {
            float f = std::clamp((x / u - 0.98f) / 0.16f, 0.0f, 1.0f);
            cv::Vec4b& p = skin.at<cv::Vec4b>(y, x);
            p[3] = cv::saturate_cast<uchar>(p[3] * (1.0f - f * f * (3.0f - 2.0f * f)) * (m.at<cv::Vec4b>(y, x)[3] / 255.0f));
        }
    paste(m, skin, cv::Point(0, 0));
    // knuckles: wrinkled skin over each finger's root, a tendon to each
    for (int i = 0; i < 4; ++i) {
        const Digit& d = fingers[i];
        cv::Point2f dir = unitAt(d.degrees), k = d.base * u - dir * (d.width * u * 0.05f);
        wrinkles(m, k, dir, d.width * u * 0.8f, 2, line * 0.6f);
        cv::Point2f from = at(0.42f, 0.6f - 0.05f * i);
        shadedStroke(m, smoothCurve({from, (from + k) * 0.5f + at(0.0f, 0.01f), k - dir * (d.width * u * 0.5f)}, false, 6),
                     line * 0.5f, 0.62f, 0.62f, kSkin);
    }
    // the shirt cuff, with its seam and two buttons
    std::vector<cv::Point2f> cuff = {at(0.03f, 0.20f), at(0.38f, 0.25f), at(0.38f, 0.80f), at(0.03f, 0.86f)};
    std::vector<cv::Point2f> cuffRim = {at(0.02f, 0.185f), at(0.39f, 0.235f), at(0.39f, 0.815f), at(0.02f, 0.875f)};
    shadedShape(m, cuffRim, 0.14f, 0.14f);
    shadedShape(m, cuff, 1.0f, 0.62f);
    shadedStroke(m, {at(0.33f, 0.25f), at(0.33f, 0.80f)}, line * 0.7f, 0.35f, 0.35f);
    shadedStroke(m, {at(0.10f, 0.21f), at(0.10f, 0.85f)}, line * 0.6f, 0.5f, 0.5f);
    for (float y : {0.40f, 0.64f}) {
        shadedBall(m, at(0.22f, y), u * 0.045f, 0.2f, 0.2f);
        shadedBall(m, at(0.22f, y), u * 0.037f, 0.95f, 0.6f);
        for (float dx : {-0.012f, 0.012f}) shadedBall(m, at(0.22f + dx, y), u * 0.007f, 0.2f, 0.2f);
    }
    return m;
}
