// Skeletons, drawn as an anatomy plate would: each bone a shaded solid.
#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

static const float kPi = 3.14159265f;

static cv::Point2f at(const cv::Mat& m, float x, float y) { return cv::Point2f(x * m.cols, y * m.rows); }

static cv::Point toPixel(cv::Point2f p) { return cv::Point(cvRound(p.x), cvRound(p.y)); }

// The right foot from above, toes up, the big toe on the left: heel and
// ankle bones, the small bones of the instep, five long bones and the toes.
cv::Mat drawFootSkeleton(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size * 9 / 20, c.size);
    float w = static_cast<float>(m.cols);
    shadedShape(m, ovalOutline(at(m, 0.57f, 0.87f), cv::Size2f(0.17f * w, 0.1f * m.rows), -10), 0.97f, 0.6f, kBone);  // heel
    shadedShape(m, ovalOutline(at(m, 0.46f, 0.755f), cv::Size2f(0.16f * w, 0.06f * m.rows), 12), 0.97f, 0.6f, kBone);  // ankle
    shadedShape(m, ovalOutline(at(m, 0.35f, 0.665f), cv::Size2f(0.12f * w, 0.035f * m.rows), 15), 0.97f, 0.6f, kBone);
    shadedShape(m, ovalOutline(at(m, 0.67f, 0.67f), cv::Size2f(0.12f * w, 0.05f * m.rows), -10), 0.97f, 0.6f, kBone);
    for (int i = 0; i < 3; ++i)
        shadedShape(m, ovalOutline(at(m, 0.27f + 0.12f * i, 0.6f), cv::Size2f(0.06f * w, 0.033f * m.rows), 0), 0.97f, 0.6f, kBone);
    // metatarsals: the first short and thick, the second the longest
    const float baseX[5] = {0.27f, 0.40f, 0.52f, 0.63f, 0.74f}, headX[5] = {0.19f, 0.36f, 0.51f, 0.64f, 0.78f};
    const float headY[5] = {0.37f, 0.29f, 0.30f, 0.32f, 0.36f}, width[5] = {0.12f, 0.075f, 0.07f, 0.065f, 0.065f};
    for (int i = 0; i < 5; ++i) {
        cv::Point2f base = at(m, baseX[i], 0.56f), head = at(m, headX[i], headY[i]);
        drawBone(m, toPixel(base), toPixel(head), static_cast<int>(width[i] * w));
        // toes: two bones for the big toe, three for the others, each shorter
        cv::Point2f dir = (head - base) / static_cast<float>(cv::norm(head - base));
        dir = (dir + cv::Point2f((i - 2) * 0.06f, 0.0f)) / static_cast<float>(cv::norm(dir + cv::Point2f((i - 2) * 0.06f, 0.0f)));
        float length = (i == 0 ? 0.075f : 0.055f - 0.004f * i) * m.rows;
        cv::Point2f p = head + dir * (width[i] * w * 0.55f);
        for (int j = 0; j < (i == 0 ? 2 : 3); ++j) {
            cv::Point2f q = p + dir * length;
            drawBone(m, toPixel(p), toPixel(q), static_cast<int>(width[i] * w * (0.85f - 0.12f * j)));
            p = q + dir * (width[i] * w * 0.25f);
            length *= 0.68f;
        }
    }
    return m;
}

// One rib in front view: from the spine out and round to the breastbone,
// theta 0 at the spine, pi at the front.
static void drawRib(cv::Mat& m, int k, int side, float from, float to, float w) {
    float y = 0.16f + 0.062f * k, width = 0.2f + 0.18f * std::sin(kPi * (k + 2.0f) / 13.0f), drop = 0.12f + 0.01f * k;
    std::vector<cv::Point2f> pts;
    for (int i = 0; i <= 24; ++i) {
        float th = from + (to - from) * i / 24.0f;
        pts.push_back(at(m, 0.5f + side * width * std::sin(th), y + drop * (1 - std::cos(th)) / 2));
    }
    shadedStroke(m, pts, w, 0.97f, 0.5f, kBone);
}

static cv::Mat ribcage(int size, bool back, bool front) {
    cv::Mat m = transparentCanvas(size, size);
    float w = std::max(4.0f, size / 34.0f);
    if (back) {
        for (int k = 0; k < 10; ++k)
            for (int s : {-1, 1}) drawRib(m, k, s, 0.0f, kPi * 0.55f, w);
        for (int k = 0; k < 17; ++k) {  // vertebrae, each a rounded block
            cv::Point2f p = at(m, 0.5f, 0.08f + 0.05f * k);
            shadedShape(m, ovalOutline(p, cv::Size2f(w * 1.5f, w * 0.9f), 0), 0.95f, 0.45f, kBone);
        }
    }
    if (front) {
        for (int k = 0; k < 10; ++k)
            for (int s : {-1, 1}) drawRib(m, k, s, kPi * 0.5f, k < 7 ? kPi : kPi * 0.85f, w);
        drawBone(m, toPixel(at(m, 0.5f, 0.2f)), toPixel(at(m, 0.5f, 0.58f)), static_cast<int>(w * 1.8f));
        for (int s : {-1, 1}) drawBone(m, toPixel(at(m, 0.5f + s * 0.04f, 0.15f)), toPixel(at(m, 0.5f + s * 0.36f, 0.1f)), static_cast<int>(w));
    }
    return m;
}

cv::Mat drawRibcage(const DrawContext& c) { return ribcage(c.size, true, true); }
cv::Mat drawRibcageFront(const DrawContext& c) { return ribcage(c.size, false, true); }
cv::Mat drawRibcageBack(const DrawContext& c) { return ribcage(c.size, true, false); }

// A fish picked clean, head to the left: the skull with its eye socket,
// jaw and gill cover, the backbone, ribs, fin rays and the forked tail.
cv::Mat drawFishSkeleton(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size / 2);
    float h = static_cast<float>(m.rows), w = static_cast<float>(m.cols);
    cv::Scalar line = grey(0.16);
    // tail fin: a pale membrane with its rays
    std::vector<cv::Point2f> tail = smoothCurve(scaled({{0.87f, 0.47f}, {0.93f, 0.3f}, {0.99f, 0.12f}, {0.965f, 0.36f},
                                                        {0.94f, 0.5f}, {0.965f, 0.64f}, {0.99f, 0.88f}, {0.93f, 0.7f}, {0.87f, 0.53f}},
                                                       m),
                                                true, 6);
    shadedShape(m, tail, 0.95f, 0.7f, kBone);
    for (int i = -4; i <= 4; ++i) {
        float reach = 0.98f - 0.035f * (4 - std::abs(i)) * (std::abs(i) < 2 ? 1.0f : 0.5f);
        cv::line(m, toPixel(at(m, 0.875f, 0.5f)), toPixel(at(m, reach, 0.5f + 0.095f * i)), line, std::max(1, c.size / 400), cv::LINE_AA);
    }
    // backbone with ribs below and spines above
    std::vector<cv::Point2f> spine;
    for (int i = 0; i <= 18; ++i) {
        float s = i / 18.0f;
        spine.push_back(at(m, 0.32f + 0.55f * s, 0.5f - 0.035f * std::sin(kPi * s)));
    }
    for (int i = 1; i < 18; ++i) {
        float s = i / 18.0f, reach = (0.34f - 0.22f * s) * h;
        cv::Point2f v = spine[i];
        std::vector<cv::Point2f> up = smoothCurve({v, v + cv::Point2f(0.03f * w, -0.5f * reach), v + cv::Point2f(0.055f * w, -reach)}, false, 6);
        shadedStroke(m, up, std::max(2.0f, w / 170.0f), 0.95f, 0.5f, kBone);
        if (i < 12) {  // ribs, curving back round the belly
            std::vector<cv::Point2f> rib = smoothCurve(
                {v, v + cv::Point2f(0.02f * w, 0.45f * reach * 1.2f), v + cv::Point2f(0.05f * w, 0.95f * reach * 1.2f)}, false, 6);
            shadedStroke(m, rib, std::max(2.0f, w / 140.0f), 0.95f, 0.5f, kBone);
        } else {
            std::vector<cv::Point2f> down = smoothCurve({v, v + cv::Point2f(0.03f * w, 0.5f * reach), v + cv::Point2f(0.055f * w, reach)}, false, 6);
            shadedStroke(m, down, std::max(2.0f, w / 170.0f), 0.95f, 0.5f, kBone);
        }
    }
    for (int i = 0; i < 18; ++i) {  // the vertebrae, joint to joint
        cv::Point2f a = spine[i], b = spine[i + 1], mid = (a + b) * 0.5f;
        shadedShape(m, ovalOutline(mid, cv::Size2f(static_cast<float>(cv::norm(b - a)) * 0.46f, h * 0.035f), 0), 0.97f, 0.45f, kBone);
    }
    // the skull: snout, brow, the rounded gill cover, the lower jaw
    std::vector<cv::Point2f> skull = smoothCurve(scaled({{0.02f, 0.5f}, {0.07f, 0.36f}, {0.14f, 0.26f}, {0.23f, 0.2f}, {0.3f, 0.24f},
                                                         {0.345f, 0.36f}, {0.35f, 0.5f}, {0.33f, 0.64f}, {0.27f, 0.74f}, {0.17f, 0.73f},
                                                         {0.08f, 0.64f}, {0.025f, 0.57f}},
                                                        m),
                                                 true, 8);
    shadedShape(m, skull, 0.97f, 0.45f, kBone);
    cv::ellipse(m, toPixel(at(m, 0.3f, 0.5f)), cv::Size(static_cast<int>(0.045f * w), static_cast<int>(0.22f * h)), 0, -70, 70, line,
                std::max(2, c.size / 250), cv::LINE_AA);  // edge of the gill cover
    cv::ellipse(m, toPixel(at(m, 0.265f, 0.5f)), cv::Size(static_cast<int>(0.04f * w), static_cast<int>(0.17f * h)), 0, -60, 60, line,
                std::max(1, c.size / 400), cv::LINE_AA);
    cv::line(m, toPixel(at(m, 0.025f, 0.545f)), toPixel(at(m, 0.15f, 0.585f)), line, std::max(2, c.size / 250), cv::LINE_AA);  // mouth
    cv::line(m, toPixel(at(m, 0.15f, 0.585f)), toPixel(at(m, 0.22f, 0.66f)), line, std::max(1, c.size / 400), cv::LINE_AA);  // jaw
    cv::Point2f eye = at(m, 0.135f, 0.41f);
    cv::circle(m, toPixel(eye), static_cast<int>(0.085f * h), grey(0.3), cv::FILLED, cv::LINE_AA);
    cv::circle(m, toPixel(eye), static_cast<int>(0.062f * h), grey(0.08), cv::FILLED, cv::LINE_AA);
    return m;
}

cv::Mat drawSkeletonCrawling(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size * 3 / 5);
    float w = std::max(3.0f, c.size / 60.0f);
    cv::Point2f hip = at(m, 0.25f, 0.4f), shoulder = at(m, 0.68f, 0.42f);
    // legs: kneeling, thigh forward and down, shin back along the ground
    for (int s = 0; s < 2; ++s) {
        cv::Point2f knee = at(m, 0.32f + 0.04f * s, 0.82f), foot = at(m, 0.06f + 0.04f * s, 0.9f);
        drawBone(m, toPixel(hip), toPixel(knee), static_cast<int>(w * 2));
        drawBone(m, toPixel(knee), toPixel(foot), static_cast<int>(w * 1.6f));
    }
    // spine with ribs hanging below it
    std::vector<cv::Point2f> spine;
    for (int i = 0; i <= 20; ++i) {
        float s = i / 20.0f;
        spine.push_back(at(m, 0.25f + 0.45f * s, 0.4f - 0.07f * std::sin(kPi * s)));
    }
    for (int k = 0; k < 8; ++k) {
        cv::Point2f top = spine[8 + k];
        std::vector<cv::Point2f> rib = smoothCurve(
            {top, top + cv::Point2f(-m.cols / 60.0f, m.rows / 8.0f), top + cv::Point2f(m.cols / 80.0f, m.rows / 4.0f - k * m.rows / 80.0f)}, false, 6);
        shadedStroke(m, rib, w, 0.95f, 0.5f, kBone);
    }
    for (size_t i = 0; i + 1 < spine.size(); ++i)
        shadedShape(m, ovalOutline((spine[i] + spine[i + 1]) * 0.5f, cv::Size2f(static_cast<float>(cv::norm(spine[i + 1] - spine[i])) * 0.5f, w * 1.1f), 0),
                    0.95f, 0.45f, kBone);
    shadedShape(m, ovalOutline(hip, cv::Size2f(m.cols / 14.0f, m.rows / 9.0f), -20), 0.95f, 0.45f, kBone);  // pelvis
    // arms reaching forward to the ground
    for (int s = 0; s < 2; ++s) {
        cv::Point2f elbow = at(m, 0.74f + 0.04f * s, 0.66f), hand = at(m, 0.84f + 0.05f * s, 0.9f);
        drawBone(m, toPixel(shoulder), toPixel(elbow), static_cast<int>(w * 1.6f));
        drawBone(m, toPixel(elbow), toPixel(hand), static_cast<int>(w * 1.4f));
        for (int f = -2; f <= 2; ++f)
            shadedStroke(m, {hand, hand + cv::Point2f(m.cols / 30.0f, f * m.rows / 60.0f)}, w * 0.6f, 0.95f, 0.5f, kBone);
    }
    // skull in profile, looking ahead: jaw, cranium, eye socket, nose, teeth
    cv::Point2f head = at(m, 0.85f, 0.34f);
    drawBone(m, toPixel(shoulder), toPixel(head + cv::Point2f(-m.cols / 20.0f, m.rows / 20.0f)), static_cast<int>(w * 2));
    shadedShape(m, ovalOutline(head + cv::Point2f(0.01f * m.cols, 0.085f * m.rows), cv::Size2f(m.cols / 28.0f, m.rows / 24.0f), 10), 0.95f, 0.45f,
                kBone);
    shadedShape(m, ovalOutline(head, cv::Size2f(m.cols / 15.0f, m.rows / 9.0f), 0), 0.97f, 0.5f, kBone);
    cv::circle(m, toPixel(head + cv::Point2f(m.cols / 40.0f, -m.rows / 50.0f)), m.rows / 30, grey(0.12), cv::FILLED, cv::LINE_AA);
    std::vector<cv::Point> nose = {toPixel(head + cv::Point2f(m.cols / 22.0f, m.rows / 60.0f)),
                                   toPixel(head + cv::Point2f(m.cols / 18.0f, m.rows / 22.0f)),
                                   toPixel(head + cv::Point2f(m.cols / 30.0f, m.rows / 22.0f))};
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{nose}, grey(0.12), cv::LINE_AA);
    for (int k = 0; k < 4; ++k) {
        cv::Point2f t = head + cv::Point2f(m.cols * (0.012f + 0.009f * k), m.rows * 0.075f);
        cv::line(m, toPixel(t), toPixel(t + cv::Point2f(0, m.rows * 0.03f)), grey(0.2), 2, cv::LINE_AA);
    }
    return m;
}
