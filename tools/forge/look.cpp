#include "look.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

static const cv::Vec3f kPaper(0.78f, 0.89f, 0.95f);  // warm cream, BGR

cv::Mat smoothNoise(cv::Size size, int cell, uint32_t seed) {
    cv::RNG rng(seed);
    cv::Mat coarse(std::max(2, size.height / cell + 2), std::max(2, size.width / cell + 2), CV_32F);
    rng.fill(coarse, cv::RNG::UNIFORM, 0.0, 1.0);
    cv::Mat out;
    cv::resize(coarse, out, size, 0, 0, cv::INTER_CUBIC);
    return cv::min(cv::max(out, 0.0), 1.0);
}

static cv::Mat grain(cv::Size size, uint32_t seed) {
    cv::RNG rng(seed ^ 0x9e3779b9u);
    cv::Mat g(size, CV_32F);
    rng.fill(g, cv::RNG::UNIFORM, 0.0, 1.0);
    cv::Mat fibres = smoothNoise(size, 3, seed + 7);
    return 0.5f * g + 0.5f * fibres;
}

// Old-print colour: faded colour, warm tint, hatching in the shadows, grain.
static cv::Vec3f printPixel(cv::Vec3f c, int x, int y, float grainValue, float hatchPeriod) {
    float lum = 0.114f * c[0] + 0.587f * c[1] + 0.299f * c[2];
    cv::Vec3f faded;
    for (int k = 0; k < 3; ++k) faded[k] = lum + (c[k] - lum) * 0.5f;
    float phase = std::sin(6.2831853f * (x + y) / hatchPeriod) * 0.5f + 0.5f;
    float ink = std::clamp((1.0f - lum) * 1.3f - phase, 0.0f, 1.0f);
    float shade = 1.0f - 0.45f * ink * (1.0f - lum);
    float paperTone = 0.94f + 0.1f * grainValue;
    cv::Vec3f out;
    for (int k = 0; k < 3; ++k) out[k] = faded[k] * kPaper[k] * shade * paperTone + 0.04f * kPaper[k];
    return out;
}

static cv::Vec3b toByte(cv::Vec3f c) {
    int b = static_cast<int>(std::clamp(c[0], 0.0f, 1.0f) * 255.0f + 0.5f);
    int g = static_cast<int>(std::clamp(c[1], 0.0f, 1.0f) * 255.0f + 0.5f);
    int r = static_cast<int>(std::clamp(c[2], 0.0f, 1.0f) * 255.0f + 0.5f);
    g = std::min(g, std::max(r, b) + kKeyMargin);
    return cv::Vec3b(static_cast<uchar>(b), static_cast<uchar>(g), static_cast<uchar>(r));
}

static void fillHoles(cv::Mat* mask, double maxArea) {
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> tree;
    cv::findContours(*mask, contours, tree, cv::RETR_CCOMP, cv::CHAIN_APPROX_SIMPLE);
    for (size_t i = 0; i < contours.size(); ++i) {
        bool isHole = tree[i][3] >= 0;
        if (isHole && cv::contourArea(contours[i]) <= maxArea)
            cv::drawContours(*mask, contours, static_cast<int>(i), cv::Scalar(255), cv::FILLED);
    }
}

cv::Mat cutOut(const cv::Mat& bgra, uint32_t seed, Holes holes) {
    int longSide = std::max(bgra.cols, bgra.rows);
    int margin = std::max(6, longSide / 40);
    cv::Mat src;
    // widths and heights padded to multiples of 4, which the loader keeps as they are
    int padRight = (4 - (bgra.cols + 2 * margin) % 4) % 4, padBottom = (4 - (bgra.rows + 2 * margin) % 4) % 4;
    cv::copyMakeBorder(bgra, src, margin, margin + padBottom, margin, margin + padRight, cv::BORDER_CONSTANT,
                       cv::Scalar(0, 0, 0, 0));
    cv::Size size = src.size();

    std::vector<cv::Mat> ch;
    cv::split(src, ch);
    cv::Mat shape = ch[3] > 40;
    if (holes == Holes::FillAll) fillHoles(&shape, 1e18);
    if (holes == Holes::FillSmall) fillHoles(&shape, 0.015 * bgra.cols * bgra.rows);

    // Scissors leave a little paper round the drawing, never quite even.
    int edge = std::max(2, longSide / 110);
    cv::Mat grown, soft;
    cv::dilate(shape, grown, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * edge + 1, 2 * edge + 1)));
    grown.convertTo(soft, CV_32F, 1.0 / 255.0);
    cv::GaussianBlur(soft, soft, cv::Size(0, 0), edge * 0.7 + 0.5);
    cv::Mat wobble = smoothNoise(size, std::max(4, longSide / 30), seed + 1);
    cv::Mat g = grain(size, seed);
    float hatch = std::max(3.0f, longSide / 110.0f);

    cv::Mat out(size, CV_8UC3);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            bool border = x < 2 || y < 2 || x >= size.width - 2 || y >= size.height - 2;
            float inside = soft.at<float>(y, x) + (wobble.at<float>(y, x) - 0.5f) * 0.5f;
            if (border || inside < 0.5f) {
                out.at<cv::Vec3b>(y, x) = kKeyColour;
                continue;
            }
            cv::Vec4b p = src.at<cv::Vec4b>(y, x);
            float a = p[3] / 255.0f;
            cv::Vec3f c;
            for (int k = 0; k < 3; ++k) c[k] = p[k] / 255.0f * a + kPaper[k] * (1.0f - a);
            out.at<cv::Vec3b>(y, x) = toByte(printPixel(c, x, y, g.at<float>(y, x), hatch));
        }
    return out;
}

// No vignette and a hatch period that divides every size used, so the tiled
// walls and patterns stay seamless.
cv::Mat wholePicture(const cv::Mat& bgr, uint32_t seed) {
    cv::Mat g = grain(bgr.size(), seed);
    cv::Mat out(bgr.size(), CV_8UC3);
    for (int y = 0; y < bgr.rows; ++y)
        for (int x = 0; x < bgr.cols; ++x) {
            cv::Vec3b p = bgr.at<cv::Vec3b>(y, x);
            cv::Vec3f c(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f);
            out.at<cv::Vec3b>(y, x) = toByte(printPixel(c, x, y, g.at<float>(y, x), 4.0f));
        }
    return out;
}
