#include "draw.h"
#include "look.h"
#include "svg.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

static const double kPi = 3.14159265358979;

static cv::Mat opaque(const cv::Mat& bgra, cv::Scalar under) {
    cv::Mat out(bgra.size(), CV_8UC3, under);
    for (int y = 0; y < bgra.rows; ++y)
        for (int x = 0; x < bgra.cols; ++x) {
            cv::Vec4b s = bgra.at<cv::Vec4b>(y, x);
            cv::Vec3b& d = out.at<cv::Vec3b>(y, x);
            float a = s[3] / 255.0f;
            for (int k = 0; k < 3; ++k) d[k] = static_cast<uchar>(s[k] * a + d[k] * (1 - a));
        }
    return out;
}

static void planks(cv::Mat& m, cv::Point2f farL, cv::Point2f farR, cv::Point2f nearL, cv::Point2f nearR, int n,
                   cv::Scalar wood) {
    std::vector<cv::Point> floor = {farL, farR, nearR, nearL};
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{floor}, wood, cv::LINE_AA);
    for (int i = 0; i <= n; ++i) {
        float s = static_cast<float>(i) / n;
        cv::line(m, farL + (farR - farL) * s, nearL + (nearR - nearL) * s, wood * 0.55, 2, cv::LINE_AA);
    }
}

cv::Mat drawStage(const DrawContext& c) {
    int w = c.size, h = c.size * 9 / 16;
    cv::Mat m(h, w, CV_8UC3, cv::Scalar(25, 30, 40));
    planks(m, cv::Point2f(w * 0.2f, h * 0.62f), cv::Point2f(w * 0.8f, h * 0.62f), cv::Point2f(-w * 0.1f, h * 1.0f),
           cv::Point2f(w * 1.1f, h * 1.0f), 24, cv::Scalar(50, 100, 150));
    cv::Mat glow = smoothNoise(m.size(), 200, c.seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float dx = (x - w * 0.5f) / w, dy = (y - h * 0.6f) / h;
            float light = std::exp(-(dx * dx * 6 + dy * dy * 8)) * (0.8f + 0.4f * glow.at<float>(y, x));
            cv::Vec3b& p = m.at<cv::Vec3b>(y, x);
            for (int k = 0; k < 3; ++k) p[k] = cv::saturate_cast<uchar>(p[k] + light * (k == 0 ? 60 : 110));
        }
    DrawContext side = c;
    side.size = h;
    cv::Mat curtain = drawCurtain(side);
    cv::Mat flipped;
    cv::flip(curtain, flipped, 1);
    cv::Mat rgba;
    cv::cvtColor(m, rgba, cv::COLOR_BGR2BGRA);
    paste(rgba, curtain, cv::Point(-curtain.cols / 6, 0));
    paste(rgba, flipped, cv::Point(w - flipped.cols * 5 / 6, 0));
    cv::rectangle(rgba, cv::Point(0, 0), cv::Point(w, h / 10), ink(30, 30, 140), cv::FILLED);
    for (int i = 0; i < 12; ++i)
        cv::ellipse(rgba, cv::Point(w * (2 * i + 1) / 24, h / 10), cv::Size(w / 24, h / 24), 0, 0, 180, ink(30, 30, 140),
                    cv::FILLED, cv::LINE_AA);
    for (int i = 0; i < 9; ++i) cv::circle(rgba, cv::Point(w * (i + 1) / 10, h - h / 30), h / 60, ink(150, 230, 255), cv::FILLED, cv::LINE_AA);
    cv::cvtColor(rgba, m, cv::COLOR_BGRA2BGR);
    return m;
}

cv::Mat drawEmptyRoom(const DrawContext& c) {
    int w = c.size, h = c.size * 9 / 16;
    cv::Mat m(h, w, CV_8UC3, cv::Scalar(150, 175, 190));
    cv::Point2f bl(w * 0.25f, h * 0.72f), br(w * 0.75f, h * 0.72f), tl(w * 0.25f, h * 0.18f), tr(w * 0.75f, h * 0.18f);
    std::vector<cv::Point> left = {cv::Point(0, 0), tl, bl, cv::Point(0, h)}, right = {cv::Point(w, 0), tr, br, cv::Point(w, h)},
                           ceiling = {cv::Point(0, 0), cv::Point(w, 0), tr, tl};
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{left}, cv::Scalar(120, 150, 170), cv::LINE_AA);
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{right}, cv::Scalar(110, 140, 160), cv::LINE_AA);
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{ceiling}, cv::Scalar(185, 205, 215), cv::LINE_AA);
    planks(m, bl, br, cv::Point2f(-w * 0.2f, h * 1.0f), cv::Point2f(w * 1.2f, h * 1.0f), 20, cv::Scalar(60, 100, 140));
    // wallpaper stripes on the back wall, one window
    for (int i = 1; i < 20; ++i) {
        int x = static_cast<int>(tl.x + (tr.x - tl.x) * i / 20);
        cv::line(m, cv::Point(x, static_cast<int>(tl.y)), cv::Point(x, static_cast<int>(bl.y)), cv::Scalar(135, 160, 178), 2);
    }
    cv::Rect window(static_cast<int>(w * 0.42f), static_cast<int>(h * 0.28f), w / 6, h / 4);
    cv::rectangle(m, window, cv::Scalar(230, 235, 235), cv::FILLED);
    cv::rectangle(m, window, cv::Scalar(50, 70, 90), 6);
    cv::line(m, cv::Point(window.x + window.width / 2, window.y), cv::Point(window.x + window.width / 2, window.y + window.height),
             cv::Scalar(50, 70, 90), 4);
    cv::line(m, cv::Point(window.x, window.y + window.height / 2), cv::Point(window.x + window.width, window.y + window.height / 2),
             cv::Scalar(50, 70, 90), 4);
    cv::line(m, bl, br, cv::Scalar(40, 60, 80), 3, cv::LINE_AA);
    return m;
}

// Looking out of a cave: faceted rock round a sharp, lit opening; the seed
// picks the rocks, the opening and the colour.
cv::Mat drawCave(const DrawContext& c) {
    int w = c.size, h = c.size * 9 / 16;
    cv::Mat rock = smoothNoise(cv::Size(w, h), 70, c.seed), fine = smoothNoise(cv::Size(w, h), 14, c.seed + 3);
    cv::Vec3f tint = c.seed % 3 == 0 ? cv::Vec3f(80, 105, 130) : c.seed % 3 == 1 ? cv::Vec3f(70, 95, 125) : cv::Vec3f(90, 100, 110);
    cv::RNG rng(c.seed);
    double ox = 0.4 + 0.2 * rng.uniform(0.0, 1.0), halfW = 0.22 + 0.1 * rng.uniform(0.0, 1.0);
    std::vector<cv::Point> opening;
    for (int i = 0; i <= 48; ++i) {
        double a = kPi * i / 48, r = 1 + rng.uniform(-0.08, 0.08);
        opening.push_back(cv::Point(static_cast<int>(w * (ox + halfW * r * std::cos(a))),
                                    static_cast<int>(h * (0.86 - 0.62 * r * std::sin(a)))));
    }
    cv::Mat open(h, w, CV_8U, cv::Scalar(0));
    cv::fillPoly(open, std::vector<std::vector<cv::Point>>{opening}, cv::Scalar(255), cv::LINE_AA);
    cv::Mat m(h, w, CV_8UC3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double vein = std::abs(fine.at<float>(y, x) - 0.5) < 0.025 ? 0.55 : 1.0;
            double facet = std::floor(rock.at<float>(y, x) * 7) / 7;  // flat planes, like chipped stone
            double shade = (0.3 + 0.6 * facet) * vein;
            double sky = 1.0 - 0.35 * y / h;
            double a = open.at<uchar>(y, x) / 255.0;
            cv::Vec3b& p = m.at<cv::Vec3b>(y, x);
            for (int k = 0; k < 3; ++k) p[k] = cv::saturate_cast<uchar>(tint[k] * shade * (1 - a) + (175 + 30 * k) * sky * a);
        }
    // distant hills through the opening, a dark rim and hanging rock
    std::vector<cv::Point> hills = {cv::Point(0, h)};
    for (int x = 0; x <= w; x += w / 32) hills.push_back(cv::Point(x, static_cast<int>(h * (0.7 + 0.05 * std::sin(x * 9.0 / w + ox * 10)))));
    hills.push_back(cv::Point(w, h));
    cv::Mat hillLayer = m.clone();
    cv::fillPoly(hillLayer, std::vector<std::vector<cv::Point>>{hills}, cv::Scalar(120, 150, 165), cv::LINE_AA);
    hillLayer.copyTo(m, open);
    cv::polylines(m, opening, false, cv::Scalar(20, 25, 30), std::max(3, w / 200), cv::LINE_AA);
    for (int i = 0; i < 16; ++i) {
        const cv::Point& root = opening[static_cast<size_t>(rng.uniform(8, 41))];
        int len = rng.uniform(h / 14, h / 5), half = rng.uniform(w / 150, w / 60);
        std::vector<cv::Point> tip = {root + cv::Point(-half, -4), root + cv::Point(half, -4), root + cv::Point(0, len)};
        cv::fillPoly(m, std::vector<std::vector<cv::Point>>{tip}, cv::Scalar(tint[0] * 0.5, tint[1] * 0.5, tint[2] * 0.5), cv::LINE_AA);
    }
    cv::rectangle(m, cv::Point(0, static_cast<int>(h * 0.86)), cv::Point(w, h), cv::Scalar(tint[0] * 0.6, tint[1] * 0.6, tint[2] * 0.6), cv::FILLED);
    return m;
}

// A strip of rolling waves; empty (transparent) above the crests.
static cv::Mat waves(int w, int h, uint32_t seed, cv::Vec3f deep, double choppy) {
    cv::Mat m = transparentCanvas(w, h);
    cv::RNG rng(seed);
    double p1 = rng.uniform(0.0, 6.28), p2 = rng.uniform(0.0, 6.28);
    std::vector<int> crest(w);
    for (int x = 0; x < w; ++x) {
        double u = static_cast<double>(x) / w;
        double y = 0.3 + 0.1 * std::sin(u * 2 * kPi * 4 + p1) + choppy * std::abs(std::sin(u * 2 * kPi * 11 + p2));
        crest[x] = static_cast<int>(y * h);
    }
    for (int x = 0; x < w; ++x)
        for (int y = crest[x]; y < h; ++y) {
            double d = static_cast<double>(y - crest[x]) / h;
            double stripe = 0.85 + 0.15 * std::sin(y * 0.25 + std::sin(x * 0.02) * 3);
            cv::Vec4b& p = m.at<cv::Vec4b>(y, x);
            for (int k = 0; k < 3; ++k) p[k] = cv::saturate_cast<uchar>(deep[k] * (1.2 - 0.6 * d) * stripe);
            p[3] = 255;
        }
    std::vector<cv::Point> line;
    for (int x = 0; x < w; ++x) line.push_back(cv::Point(x, crest[x] + 2));
    cv::polylines(m, line, false, ink(40, 40, 30), 4, cv::LINE_AA);
    for (auto& p : line) p.y += h / 10;
    cv::polylines(m, line, false, ink(235, 240, 235), 3, cv::LINE_AA);
    return m;
}

cv::Mat drawSea(const DrawContext& c) { return waves(c.size, c.size / 4, c.seed, cv::Vec3f(150, 130, 60), 0.06); }
cv::Mat drawWater(const DrawContext& c) { return waves(c.size, c.size / 5, c.seed, cv::Vec3f(170, 140, 80), 0.12); }

cv::Mat drawPaper(const DrawContext& c) {
    cv::Mat fibres = smoothNoise(cv::Size(c.size, c.size), 5, c.seed), blotch = smoothNoise(cv::Size(c.size, c.size), 120, c.seed + 1);
    cv::Mat m(c.size, c.size, CV_8UC3);
    for (int y = 0; y < c.size; ++y)
        for (int x = 0; x < c.size; ++x) {
            double v = 0.86 + 0.08 * fibres.at<float>(y, x) + 0.06 * blotch.at<float>(y, x);
            m.at<cv::Vec3b>(y, x) = cv::Vec3b(cv::saturate_cast<uchar>(205 * v), cv::saturate_cast<uchar>(232 * v),
                                              cv::saturate_cast<uchar>(250 * v));
        }
    return m;
}

// A seamless cell repeated four by four over a square, on paper.
cv::Mat tileBase(const DrawContext& c) {
    if (c.base.empty()) return c.base;
    cv::Mat cell = opaque(c.base, cv::Scalar(200, 228, 244)), out(c.size, c.size, CV_8UC3);
    cv::resize(cell, cell, cv::Size(c.size / 4, c.size / 4), 0, 0, cv::INTER_AREA);  // four repeats across
    for (int y = 0; y < c.size; ++y)
        for (int x = 0; x < c.size; ++x) out.at<cv::Vec3b>(y, x) = cell.at<cv::Vec3b>(y % cell.rows, x % cell.cols);
    return out;
}

// The frieze of animals in three rows on a wall of paper.
cv::Mat composeAnimals(const DrawContext& c) {
    int w = c.size, h = c.size * 9 / 16;
    cv::Mat wall = transparentCanvas(w, h);
    wall.setTo(cv::Scalar(170, 205, 225, 255));
    if (!c.base.empty()) {
        cv::Mat row;
        cv::resize(c.base, row, cv::Size(w, c.base.rows * w / c.base.cols), 0, 0, cv::INTER_AREA);
        for (int i = 0; i < 3; ++i) paste(wall, row, cv::Point(i % 2 ? -w / 7 : 0, h * (1 + 3 * i) / 10));
        paste(wall, row, cv::Point(w - w / 7, h * 4 / 10));
    }
    cv::Mat out;
    cv::cvtColor(wall, out, cv::COLOR_BGRA2BGR);
    return out;
}

cv::Mat composeLoader(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size);
    m.setTo(cv::Scalar(30, 45, 60, 255));
    if (!c.base.empty()) {
        cv::Mat emblem;
        cv::resize(c.base, emblem, cv::Size(c.size / 2, c.base.rows * (c.size / 2) / c.base.cols), 0, 0, cv::INTER_AREA);
        for (int y = 0; y < emblem.rows; ++y)
            for (int x = 0; x < emblem.cols; ++x) {
                cv::Vec4b& p = emblem.at<cv::Vec4b>(y, x);
                for (int k = 0; k < 3; ++k) p[k] = static_cast<uchar>(255 - p[k]);  // light lines on the dark ground
            }
        paste(m, emblem, cv::Point(c.size / 4, c.size / 5));
    }
    int base = 0;
    double scale = c.size / 300.0;
    cv::Size text = cv::getTextSize("TORVANEL", cv::FONT_HERSHEY_TRIPLEX, scale, 3, &base);
    cv::putText(m, "TORVANEL", cv::Point((c.size - text.width) / 2, c.size * 4 / 5), cv::FONT_HERSHEY_TRIPLEX, scale,
                ink(170, 210, 235), 3, cv::LINE_AA);
    cv::Mat out;
    cv::cvtColor(m, out, cv::COLOR_BGRA2BGR);
    return out;
}
