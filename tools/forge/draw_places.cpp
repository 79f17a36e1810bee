#include "draw.h"
#include "look.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

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

// A seamless cell repeated `across` by `down` times, on paper; the picture's
// long side is the recipe's size.
static cv::Mat tiled(const DrawContext& c, int across, int down) {
    if (c.base.empty()) return c.base;
    int cellSide = c.size / std::max(across, down) / 8 * 8;  // leaves the engraving a spacing that divides the sides
    cv::Mat cell = opaque(c.base, cv::Scalar(200, 228, 244)), out(cellSide * down, cellSide * across, CV_8UC3);
    cv::resize(cell, cell, cv::Size(cellSide, cellSide), 0, 0, cv::INTER_AREA);
    for (int y = 0; y < out.rows; ++y)
        for (int x = 0; x < out.cols; ++x) out.at<cv::Vec3b>(y, x) = cell.at<cv::Vec3b>(y % cellSide, x % cellSide);
    return out;
}

cv::Mat tileBase(const DrawContext& c) { return tiled(c, 4, 4); }

// The opening's back wall: the show lays two of these side by side, a
// picture's width apart, and the camera sees well left of the first, so the
// wall is nine cells wide to four high.
cv::Mat tileWall(const DrawContext& c) { return tiled(c, 9, 4); }

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
