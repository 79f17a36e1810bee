// Bodies inside: the organs of digestion, and the skull that cracks and bleeds.
#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <vector>

static const float kPi = 3.14159265f;

static cv::Point at(const cv::Mat& m, double x, double y) {
    return cv::Point(static_cast<int>(x * m.cols), static_cast<int>(y * m.rows));
}

// The gullet, the stomach, the large intestine framing the small one coiled
// inside it, each a shaded tube of flesh.
cv::Mat drawDigestive(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size * 3 / 4, c.size);
    const cv::Vec3f flesh(0.62f, 0.66f, 1.0f), gut(0.68f, 0.76f, 1.0f);
    float t = std::max(6.0f, c.size / 24.0f);
    shadedStroke(m, smoothCurve(scaled({{0.47f, 0.0f}, {0.49f, 0.12f}, {0.55f, 0.22f}}, m), false, 8), t, 0.9f, 0.35f, flesh);
    std::vector<cv::Point2f> stomach;  // a J-shaped bag
    for (int i = 0; i < 40; ++i) {
        float a = 2.0f * kPi * i / 40.0f, rx = 0.2f + 0.05f * std::cos(a);
        stomach.push_back(cv::Point2f((0.6f + rx * std::cos(a) - 0.05f * std::sin(a)) * m.cols, (0.33f + 0.12f * std::sin(a)) * m.rows));
    }
    shadedShape(m, stomach, 0.95f, 0.35f, flesh);
    shadedStroke(m, smoothCurve(scaled({{0.2f, 0.9f}, {0.14f, 0.5f}, {0.3f, 0.46f}, {0.75f, 0.48f}, {0.86f, 0.52f}, {0.86f, 0.9f}, {0.55f, 0.97f}}, m),
                                false, 10),
                 t * 2.0f, 0.92f, 0.3f, gut);
    std::vector<cv::Point2f> coil;  // the small intestine folds back and forth
    for (int row = 0; row < 6; ++row) {
        float y = 0.57f + 0.062f * row;
        bool right = row % 2 == 0;
        for (int i = 0; i <= 20; ++i) {
            float s = i / 20.0f, x = right ? 0.3f + 0.42f * s : 0.72f - 0.42f * s;
            coil.push_back(cv::Point2f(x * m.cols, (y + 0.008f * std::sin(s * kPi * 6)) * m.rows));
        }
        for (int i = 1; i < 8 && row < 5; ++i) {  // the turn down to the next row
            float a = kPi * i / 8;
            coil.push_back(cv::Point2f(((right ? 0.72f : 0.3f) + (right ? 1 : -1) * 0.031f * std::sin(a)) * m.cols,
                                       (y + 0.031f * (1 - std::cos(a))) * m.rows));
        }
    }
    shadedStroke(m, coil, t, 0.95f, 0.3f, gut);
    return m;
}

// A human skull in profile, facing right: the vault, a brow over a deep
// orbit, the cheekbone and its arch running back to the ear, the nasal
// opening, separate teeth in both jaws and a jaw bone with its angle and
// chin. Drawn in bone greys, lit from the upper left.
cv::Mat drawSkull(const DrawContext& c) {
    int h = c.size, w = c.size * 5 / 6;
    cv::Mat m = transparentCanvas(w, h);
    auto pt = [&](float x, float y) { return cv::Point2f(x * w, y * h); };
    std::vector<cv::Point2f> head = smoothCurve(
        {pt(0.2f, 0.66f), pt(0.05f, 0.45f), pt(0.08f, 0.2f), pt(0.28f, 0.04f), pt(0.55f, 0.03f), pt(0.76f, 0.12f), pt(0.87f, 0.3f),
         pt(0.92f, 0.38f), pt(0.88f, 0.43f), pt(0.95f, 0.53f), pt(0.93f, 0.62f), pt(0.94f, 0.7f), pt(0.86f, 0.72f), pt(0.62f, 0.7f),
         pt(0.42f, 0.7f)},
        true, 10);
    shadedShape(m, head, 0.98f, 0.55f, kBone);
    std::vector<cv::Point2f> jaw = smoothCurve({pt(0.5f, 0.62f), pt(0.58f, 0.72f), pt(0.9f, 0.73f), pt(0.92f, 0.86f), pt(0.84f, 0.95f),
                                                pt(0.62f, 0.91f), pt(0.5f, 0.87f), pt(0.46f, 0.72f)},
                                               true, 10);
    shadedShape(m, jaw, 0.95f, 0.5f, kBone);
    int line = std::max(2, c.size / 250);
    cv::Scalar pen = ink(40, 45, 55);
    auto curve = [&](std::initializer_list<cv::Point2f> pts, int weight, cv::Scalar colour) {
        std::vector<cv::Point> out;
        for (cv::Point2f p : smoothCurve(std::vector<cv::Point2f>(pts), false, 8)) out.push_back(p);
        cv::polylines(m, out, false, colour, weight, cv::LINE_AA);
    };
    // the orbit, deep under the brow, and the nasal opening
    shadedShape(m, smoothCurve({pt(0.63f, 0.4f), pt(0.72f, 0.35f), pt(0.83f, 0.38f), pt(0.84f, 0.48f), pt(0.76f, 0.53f), pt(0.65f, 0.5f)}, true, 8),
                0.35f, 0.08f);
    curve({pt(0.6f, 0.36f), pt(0.72f, 0.32f), pt(0.86f, 0.36f)}, line + 1, pen);  // the brow ridge
    shadedShape(m, smoothCurve({pt(0.85f, 0.5f), pt(0.9f, 0.52f), pt(0.91f, 0.6f), pt(0.86f, 0.61f)}, true, 8), 0.3f, 0.08f);
    // the cheekbone under the orbit and its arch back to the ear
    shadedShape(m, smoothCurve({pt(0.64f, 0.53f), pt(0.76f, 0.55f), pt(0.8f, 0.6f), pt(0.66f, 0.61f), pt(0.44f, 0.6f), pt(0.44f, 0.56f)}, true, 8),
                1.0f, 0.62f, kBone);
    curve({pt(0.44f, 0.61f), pt(0.62f, 0.62f), pt(0.8f, 0.61f)}, line, pen);
    shadedBall(m, pt(0.38f, 0.6f), 0.035f * w, 0.3f, 0.08f);  // the ear's opening
    curve({pt(0.55f, 0.05f), pt(0.58f, 0.14f), pt(0.56f, 0.22f), pt(0.6f, 0.31f)}, std::max(1, line / 2), ink(70, 80, 90));  // a suture
    curve({pt(0.2f, 0.4f), pt(0.3f, 0.24f), pt(0.5f, 0.2f), pt(0.62f, 0.28f)}, std::max(1, line / 2), ink(110, 120, 130));  // the temple's line
    // teeth, one by one, upper and lower, with the gap of the bite between
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 7; ++i) {
            float x0 = 0.62f + 0.045f * i, top = row == 0 ? 0.63f : 0.725f, bottom = row == 0 ? 0.712f : 0.79f;
            std::vector<cv::Point2f> tooth = smoothCurve({pt(x0, top), pt(x0 + 0.04f, top), pt(x0 + 0.042f, bottom - 0.01f), pt(x0 + 0.02f, bottom),
                                                          pt(x0 - 0.002f, bottom - 0.01f)},
                                                         true, 6);
            shadedShape(m, tooth, 1.0f, 0.7f, kWhite);
            cv::polylines(m, std::vector<std::vector<cv::Point>>{std::vector<cv::Point>(tooth.begin(), tooth.end())}, true, pen, std::max(1, line / 2),
                          cv::LINE_AA);
        }
    curve({pt(0.6f, 0.718f), pt(0.77f, 0.72f), pt(0.94f, 0.718f)}, line, pen);
    curve({pt(0.5f, 0.64f), pt(0.53f, 0.72f), pt(0.6f, 0.74f)}, line, pen);  // the jaw's upper edge behind the teeth
    return m;
}

static std::vector<cv::Point> crackLine(const cv::Mat& m) {
    std::vector<cv::Point> pts;
    cv::RNG rng(1234);
    for (int i = 0; i <= 12; ++i) {
        double y = i / 12.0;
        pts.push_back(at(m, 0.55 + 0.05 * std::sin(y * 9) + rng.uniform(-0.03, 0.03), y));
    }
    return pts;
}

cv::Mat crackSkull(const DrawContext& c) {
    cv::Mat m = drawSkull(c);
    if (m.empty()) return m;
    cv::Mat lines = transparentCanvas(m.cols, m.rows);
    std::vector<cv::Point> crack = crackLine(m);
    cv::polylines(lines, crack, false, ink(20, 25, 30), std::max(2, m.cols / 80), cv::LINE_AA);
    for (size_t i = 2; i + 2 < crack.size(); i += 3)
        cv::line(lines, crack[i], crack[i] + cv::Point((i % 2 ? 1 : -1) * m.cols / 10, m.rows / 20), ink(20, 25, 30), 2, cv::LINE_AA);
    for (int y = 0; y < m.rows; ++y)
        for (int x = 0; x < m.cols; ++x)
            if (lines.at<cv::Vec4b>(y, x)[3] > 0 && m.at<cv::Vec4b>(y, x)[3] > 100) {
                cv::Vec4b l = lines.at<cv::Vec4b>(y, x);
                m.at<cv::Vec4b>(y, x) = cv::Vec4b(l[0], l[1], l[2], 255);
            }
    return m;
}

// Blood runs from the crack and pools in drops: each run narrows as it goes
// down and ends in a rounder, heavier bead.
cv::Mat bloodSkull(const DrawContext& c) {
    cv::Mat m = crackSkull(c);
    if (m.empty()) return m;
    cv::RNG rng(c.seed);
    std::vector<cv::Point> crack = crackLine(m);
    const cv::Vec3f blood(0.25f, 0.25f, 1.0f);
    float w = m.cols / 26.0f;
    for (int i = 0; i < 6; ++i) {
        cv::Point2f p = crack[static_cast<size_t>(2 + i % 4)];
        p.x += static_cast<float>((i % 2 ? 1 : -1) * rng.uniform(0.02, 0.1) * m.cols);
        float length = static_cast<float>(rng.uniform(0.12, 0.26) * m.rows), width = w * static_cast<float>(rng.uniform(0.7, 1.15));
        std::vector<cv::Point2f> run;
        for (int k = 0; k <= 10; ++k) run.push_back(p + cv::Point2f(std::sin(k * 0.9f + i) * w * 0.2f, length * k / 10.0f));
        for (size_t k = 0; k + 1 < run.size(); ++k) {  // the run, thinning towards the bead
            float taper = 1.0f - 0.5f * k / run.size();
            shadedStroke(m, {run[k], run[k + 1]}, width * taper, 0.85f, 0.3f, blood);
        }
        shadedBall(m, run.back() + cv::Point2f(0, width * 0.3f), width * 0.62f, 0.9f, 0.3f, blood);
        shadedBall(m, p, width * 0.7f, 0.85f, 0.3f, blood);
    }
    return m;
}

static cv::Mat skullHalf(const DrawContext& c, bool left) {
    cv::Mat m = crackSkull(c);
    if (m.empty()) return m;
    std::vector<cv::Point> crack = crackLine(m);
    crack.push_back(left ? cv::Point(0, m.rows) : cv::Point(m.cols, m.rows));
    crack.push_back(left ? cv::Point(0, 0) : cv::Point(m.cols, 0));
    cv::Mat keep(m.size(), CV_8U, cv::Scalar(0));
    cv::fillPoly(keep, std::vector<std::vector<cv::Point>>{crack}, cv::Scalar(255));
    cv::polylines(keep, std::vector<std::vector<cv::Point>>{crackLine(m)}, false, cv::Scalar(255), std::max(2, m.cols / 80));
    for (int y = 0; y < m.rows; ++y)
        for (int x = 0; x < m.cols; ++x)
            if (!keep.at<uchar>(y, x)) m.at<cv::Vec4b>(y, x)[3] = 0;
    return m;
}

// The drawing faces right: the face is the part right of the crack.
cv::Mat skullFront(const DrawContext& c) { return skullHalf(c, false); }
cv::Mat skullBack(const DrawContext& c) { return skullHalf(c, true); }
