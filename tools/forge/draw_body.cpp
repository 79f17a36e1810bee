#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <vector>

static const double kPi = 3.14159265358979;

static cv::Point at(const cv::Mat& m, double x, double y) {
    return cv::Point(static_cast<int>(x * m.cols), static_cast<int>(y * m.rows));
}

cv::Mat drawFootSkeleton(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size / 2, c.size);
    int w = std::max(3, c.size / 40);
    // heel and ankle bones
    cv::ellipse(m, at(m, 0.5, 0.86), cv::Size(m.cols / 5, m.rows / 10), 0, 0, 360, ink(40, 50, 60), cv::FILLED,
                cv::LINE_AA);
    cv::ellipse(m, at(m, 0.5, 0.86), cv::Size(m.cols / 5 - 3, m.rows / 10 - 3), 0, 0, 360, ink(190, 220, 232),
                cv::FILLED, cv::LINE_AA);
    for (int i = 0; i < 5; ++i) {
        double x = 0.22 + 0.14 * i;
        drawBone(m, at(m, 0.5 + (x - 0.5) * 0.5, 0.74), at(m, 0.5 + (x - 0.5) * 0.6, 0.64), w * 2);
    }
    // five rays: metatarsal then two or three toe bones, fanning out
    for (int i = 0; i < 5; ++i) {
        double x0 = 0.5 + (0.22 + 0.14 * i - 0.5) * 0.6, x1 = 0.1 + 0.2 * i;
        double top = i == 0 ? 0.1 : 0.14 + 0.03 * i;
        cv::Point a = at(m, x0, 0.62), b = at(m, x1 * 0.3 + x0 * 0.7, 0.4);
        drawBone(m, a, b, w + (i == 0 ? 3 : 0));
        int joints = i == 0 ? 2 : 3;
        cv::Point p = b;
        for (int j = 0; j < joints; ++j) {
            double y = 0.4 - (0.4 - top) * (j + 1) / joints;
            cv::Point q = at(m, x1 * (0.5 + 0.15 * j) + x0 * (0.5 - 0.15 * j), y);
            drawBone(m, p, q, w - j);
            p = q;
        }
    }
    return m;
}

cv::Mat drawDigestive(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size * 3 / 4, c.size);
    cv::Scalar line = ink(30, 30, 80), flesh = ink(120, 120, 225), gut = ink(150, 160, 235);
    int t = std::max(4, c.size / 28);
    std::vector<cv::Point> gullet = {at(m, 0.48, 0.0), at(m, 0.5, 0.12), at(m, 0.56, 0.24)};
    cv::polylines(m, gullet, false, line, t + 8, cv::LINE_AA);
    cv::polylines(m, gullet, false, flesh, t, cv::LINE_AA);
    // stomach: a J-shaped bag
    std::vector<cv::Point> stomach;
    for (int i = 0; i <= 40; ++i) {
        double a = kPi * 2 * i / 40;
        double rx = 0.2 + 0.05 * std::cos(a), ry = 0.12;
        stomach.push_back(at(m, 0.6 + rx * std::cos(a) - 0.05 * std::sin(a), 0.33 + ry * std::sin(a)));
    }
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{stomach}, flesh, cv::LINE_AA);
    cv::polylines(m, stomach, true, line, 3, cv::LINE_AA);
    // large intestine frames the coils of the small one
    std::vector<cv::Point> colon = {at(m, 0.2, 0.9), at(m, 0.14, 0.5), at(m, 0.3, 0.46), at(m, 0.75, 0.48),
                                    at(m, 0.86, 0.52), at(m, 0.86, 0.9), at(m, 0.55, 0.97)};
    cv::polylines(m, colon, false, line, t * 2 + 8, cv::LINE_AA);
    cv::polylines(m, colon, false, gut, t * 2, cv::LINE_AA);
    // the small intestine folds back and forth inside it
    std::vector<cv::Point> coil;
    for (int row = 0; row < 6; ++row) {
        double y = 0.57 + 0.062 * row;
        bool right = row % 2 == 0;
        for (int i = 0; i <= 20; ++i) {
            double s = i / 20.0, x = right ? 0.3 + 0.42 * s : 0.72 - 0.42 * s;
            coil.push_back(at(m, x, y + 0.008 * std::sin(s * kPi * 6)));
        }
        for (int i = 1; i < 8 && row < 5; ++i) {  // the turn down to the next row
            double a = kPi * i / 8;
            coil.push_back(at(m, (right ? 0.72 : 0.3) + (right ? 1 : -1) * 0.031 * std::sin(a), y + 0.031 * (1 - std::cos(a))));
        }
    }
    cv::polylines(m, coil, false, line, t + 6, cv::LINE_AA);
    cv::polylines(m, coil, false, gut, t, cv::LINE_AA);
    return m;
}

// One rib in front view: from the spine out and round to the breastbone,
// theta 0 at the spine, pi at the front.
static void drawRib(cv::Mat& m, int k, int side, double from, double to, int w) {
    double y = 0.16 + 0.062 * k, width = 0.2 + 0.18 * std::sin(kPi * (k + 2.0) / 13.0), drop = 0.12 + 0.01 * k;
    std::vector<cv::Point> pts;
    for (int i = 0; i <= 24; ++i) {
        double th = from + (to - from) * i / 24.0;
        pts.push_back(at(m, 0.5 + side * width * std::sin(th), y + drop * (1 - std::cos(th)) / 2));
    }
    cv::polylines(m, pts, false, ink(40, 50, 60), w + 4, cv::LINE_AA);
    cv::polylines(m, pts, false, ink(190, 220, 232), w, cv::LINE_AA);
}

static cv::Mat ribcage(int size, bool back, bool front) {
    cv::Mat m = transparentCanvas(size, size);
    int w = std::max(3, size / 45);
    if (back) {
        for (int k = 0; k < 17; ++k) {
            cv::Point p = at(m, 0.5, 0.08 + 0.05 * k);
            cv::rectangle(m, p - cv::Point(w * 2, w), p + cv::Point(w * 2, w), ink(40, 50, 60), cv::FILLED);
            cv::rectangle(m, p - cv::Point(w * 2 - 2, w - 2), p + cv::Point(w * 2 - 2, w - 2), ink(180, 212, 226),
                          cv::FILLED);
        }
        for (int k = 0; k < 10; ++k)
            for (int s : {-1, 1}) drawRib(m, k, s, 0.0, kPi * 0.55, w);
    }
    if (front) {
        for (int k = 0; k < 10; ++k)
            for (int s : {-1, 1}) drawRib(m, k, s, kPi * 0.5, k < 7 ? kPi : kPi * 0.85, w);
        drawBone(m, at(m, 0.5, 0.2), at(m, 0.5, 0.58), w * 2);
        for (int s : {-1, 1}) drawBone(m, at(m, 0.5 + s * 0.04, 0.15), at(m, 0.5 + s * 0.36, 0.1), w);
    }
    return m;
}

cv::Mat drawRibcage(const DrawContext& c) { return ribcage(c.size, true, true); }
cv::Mat drawRibcageFront(const DrawContext& c) { return ribcage(c.size, false, true); }
cv::Mat drawRibcageBack(const DrawContext& c) { return ribcage(c.size, true, false); }

cv::Mat drawFishSkeleton(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size / 2);
    int w = std::max(2, c.size / 90);
    cv::Scalar outline = ink(40, 50, 60), bone = ink(190, 220, 232);
    // head
    std::vector<cv::Point> head = {at(m, 0.04, 0.5), at(m, 0.14, 0.22), at(m, 0.26, 0.2), at(m, 0.28, 0.5),
                                   at(m, 0.26, 0.8), at(m, 0.14, 0.74)};
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{head}, outline, cv::LINE_AA);
    cv::Mat inner = m.clone();
    for (auto& p : head) p = at(m, 0.16, 0.5) + (p - at(m, 0.16, 0.5)) * 0.85;
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{head}, bone, cv::LINE_AA);
    cv::circle(m, at(m, 0.13, 0.4), w * 3, outline, cv::FILLED, cv::LINE_AA);
    drawBone(m, at(m, 0.27, 0.5), at(m, 0.84, 0.5), w * 2);
    for (int i = 0; i < 13; ++i) {
        double x = 0.32 + 0.04 * i, h = 0.32 * std::sin(kPi * (0.25 + 0.7 * (1 - i / 13.0)));
        for (int s : {-1, 1}) {
            std::vector<cv::Point> rib = {at(m, x, 0.5), at(m, x + 0.03, 0.5 + s * h * 0.6), at(m, x + 0.02, 0.5 + s * h)};
            cv::polylines(m, rib, false, outline, w + 3, cv::LINE_AA);
            cv::polylines(m, rib, false, bone, w, cv::LINE_AA);
        }
    }
    for (int i = -3; i <= 3; ++i) drawBone(m, at(m, 0.84, 0.5), at(m, 0.97, 0.5 + 0.1 * i), w);
    return m;
}

cv::Mat drawSkeletonCrawling(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size * 3 / 5);
    int w = std::max(3, c.size / 60);
    cv::Point hip = at(m, 0.25, 0.4), shoulder = at(m, 0.68, 0.42);
    // legs: kneeling, thigh forward and down, shin back along the ground
    for (int s = 0; s < 2; ++s) {
        cv::Point knee = at(m, 0.32 + 0.04 * s, 0.82), foot = at(m, 0.06 + 0.04 * s, 0.9);
        drawBone(m, hip, knee, w * 2);
        drawBone(m, knee, foot, w + 2);
    }
    // spine with ribs hanging below it
    std::vector<cv::Point> spine;
    for (int i = 0; i <= 20; ++i) {
        double s = i / 20.0;
        spine.push_back(at(m, 0.25 + 0.45 * s, 0.4 - 0.07 * std::sin(kPi * s)));
    }
    for (int k = 0; k < 8; ++k) {
        cv::Point top = spine[8 + k];
        std::vector<cv::Point> rib = {top, top + cv::Point(-m.cols / 60, m.rows / 8), top + cv::Point(m.cols / 80, m.rows / 4 - k * m.rows / 80)};
        cv::polylines(m, rib, false, ink(40, 50, 60), w + 3, cv::LINE_AA);
        cv::polylines(m, rib, false, ink(190, 220, 232), w, cv::LINE_AA);
    }
    cv::polylines(m, spine, false, ink(40, 50, 60), w * 2 + 4, cv::LINE_AA);
    cv::polylines(m, spine, false, ink(180, 212, 226), w * 2, cv::LINE_AA);
    for (size_t i = 0; i < spine.size(); ++i)
        cv::line(m, spine[i] + cv::Point(0, -w), spine[i] + cv::Point(0, w), ink(60, 80, 90), 2, cv::LINE_AA);
    // pelvis
    cv::ellipse(m, hip, cv::Size(m.cols / 14, m.rows / 9), -20, 0, 360, ink(40, 50, 60), cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, hip, cv::Size(m.cols / 14 - 3, m.rows / 9 - 3), -20, 0, 360, ink(190, 220, 232), cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, hip + cv::Point(0, m.rows / 30), cv::Size(m.cols / 40, m.rows / 30), -20, 0, 360, ink(40, 50, 60), 3, cv::LINE_AA);
    // arms reaching forward to the ground
    for (int s = 0; s < 2; ++s) {
        cv::Point elbow = at(m, 0.74 + 0.04 * s, 0.66), hand = at(m, 0.84 + 0.05 * s, 0.9);
        drawBone(m, shoulder, elbow, w + 2);
        drawBone(m, elbow, hand, w + 1);
        for (int f = -2; f <= 2; ++f) drawBone(m, hand, hand + cv::Point(m.cols / 30, f * m.rows / 60), w / 2 + 1);
    }
    // skull in profile, looking ahead: cranium, eye socket, nose, jaw and teeth
    cv::Point head = at(m, 0.85, 0.34);
    cv::Size cranium(m.cols / 15, m.rows / 9);
    cv::Scalar outline = ink(40, 50, 60), bone = ink(195, 225, 236);
    cv::Rect jaw(head + cv::Point(-m.cols / 60, m.rows / 18), cv::Size(m.cols / 14, m.rows / 12));
    cv::rectangle(m, jaw, outline, cv::FILLED, cv::LINE_AA);
    cv::rectangle(m, cv::Rect(jaw.x + 3, jaw.y + 3, jaw.width - 6, jaw.height - 6), bone, cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, head, cranium, 0, 0, 360, outline, cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, head, cranium - cv::Size(4, 4), 0, 0, 360, bone, cv::FILLED, cv::LINE_AA);
    cv::circle(m, head + cv::Point(m.cols / 40, -m.rows / 50), m.rows / 30, ink(30, 35, 40), cv::FILLED, cv::LINE_AA);
    std::vector<cv::Point> nose = {head + cv::Point(m.cols / 22, m.rows / 60), head + cv::Point(m.cols / 18, m.rows / 22),
                                   head + cv::Point(m.cols / 30, m.rows / 22)};
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{nose}, ink(30, 35, 40), cv::LINE_AA);
    for (int k = 0; k < 5; ++k) {
        int x = jaw.x + jaw.width * (k + 2) / 8;
        cv::line(m, cv::Point(x, jaw.y + 2), cv::Point(x, jaw.y + jaw.height / 2), outline, 2, cv::LINE_AA);
    }
    drawBone(m, shoulder, head + cv::Point(-m.cols / 20, m.rows / 20), w * 2);
    return m;
}

// Crown outline with cusps on top, roots below; `roots` 1 or 2.
static cv::Mat tooth(int size, double crownWidth, int cusps, int roots, double rootLength) {
    cv::Mat m = transparentCanvas(size * 3 / 4, size);
    std::vector<cv::Point> pts;
    double half = crownWidth / 2;
    for (int i = 0; i <= cusps * 8; ++i) {
        double s = static_cast<double>(i) / (cusps * 8);
        double y = 0.1 - (cusps == 1 ? 0.08 * std::sin(kPi * s) * (1 - std::abs(s - 0.5) * 2) : 0.05 * std::abs(std::sin(kPi * s * cusps)));
        pts.push_back(at(m, 0.5 - half + crownWidth * s, y + 0.06));
    }
    pts.push_back(at(m, 0.5 + half, 0.45));
    for (int r = 0; r < roots; ++r) {
        double rx = roots == 1 ? 0.5 : 0.5 + (r == 0 ? 0.18 : -0.18);
        if (roots == 2 && r == 0) {
            pts.push_back(at(m, rx + 0.1, 0.45 + rootLength));
            pts.push_back(at(m, rx - 0.04, 0.45 + rootLength));
            pts.push_back(at(m, 0.5, 0.55));
        } else if (roots == 2) {
            pts.push_back(at(m, rx + 0.04, 0.45 + rootLength));
            pts.push_back(at(m, rx - 0.1, 0.45 + rootLength));
        } else {
            pts.push_back(at(m, 0.5, 0.45 + rootLength));
        }
    }
    pts.push_back(at(m, 0.5 - half, 0.45));
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{pts}, ink(40, 50, 60), cv::LINE_AA);
    cv::Point centre = at(m, 0.5, 0.4);
    for (auto& p : pts) p = centre + (p - centre) * 0.93;
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{pts}, ink(205, 232, 240), cv::LINE_AA);
    cv::ellipse(m, at(m, 0.4, 0.25), cv::Size(m.cols / 14, m.rows / 8), 0, 0, 360, ink(245, 250, 252), cv::FILLED, cv::LINE_AA);
    cv::line(m, at(m, 0.5 - half * 0.9, 0.45), at(m, 0.5 + half * 0.9, 0.45), ink(120, 150, 170), 2, cv::LINE_AA);
    return m;
}

cv::Mat drawMolar(const DrawContext& c) { return tooth(c.size, 0.8, 3, 2, 0.45); }
cv::Mat drawIncisor(const DrawContext& c) { return tooth(c.size, 0.5, 2, 1, 0.5); }
cv::Mat drawCanine(const DrawContext& c) { return tooth(c.size, 0.55, 1, 1, 0.52); }

// A jagged line from the top of the skull to its jaw, the same for every
// variant so front and back halves meet along it.
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
    cv::Mat m = c.base.clone();
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

cv::Mat bloodSkull(const DrawContext& c) {
    cv::Mat m = crackSkull(c);
    if (m.empty()) return m;
    cv::RNG rng(c.seed);
    cv::Mat blood = transparentCanvas(m.cols, m.rows);
    for (int i = 0; i < 9; ++i) {
        cv::Point top(rng.uniform(m.cols / 5, m.cols * 4 / 5), rng.uniform(m.rows / 8, m.rows / 2));
        cv::Point end = top + cv::Point(0, rng.uniform(m.rows / 8, m.rows / 3));
        int w = rng.uniform(3, std::max(4, m.cols / 40));
        cv::line(blood, top, end, ink(20, 20, 140), w, cv::LINE_AA);
        cv::circle(blood, end, w, ink(20, 20, 140), cv::FILLED, cv::LINE_AA);
        cv::circle(blood, top, w * 2, ink(25, 25, 150), cv::FILLED, cv::LINE_AA);
    }
    for (int y = 0; y < m.rows; ++y)
        for (int x = 0; x < m.cols; ++x)
            if (blood.at<cv::Vec4b>(y, x)[3] > 0 && m.at<cv::Vec4b>(y, x)[3] > 100) m.at<cv::Vec4b>(y, x) = blood.at<cv::Vec4b>(y, x);
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
