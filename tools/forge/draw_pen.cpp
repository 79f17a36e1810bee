#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

cv::Mat transparentCanvas(int w, int h) { return cv::Mat(h, w, CV_8UC4, cv::Scalar(0, 0, 0, 0)); }

cv::Scalar ink(int b, int g, int r) { return cv::Scalar(b, g, r, 255); }

// A dark outline first, the ivory shaft over it, knobs at both ends.
void drawBone(cv::Mat& m, cv::Point a, cv::Point b, int width) {
    int knob = width * 3 / 4 + 1;
    cv::Scalar outline = ink(40, 50, 60), bone = ink(190, 220, 232);
    cv::line(m, a, b, outline, width + 4, cv::LINE_AA);
    cv::circle(m, a, knob + 2, outline, cv::FILLED, cv::LINE_AA);
    cv::circle(m, b, knob + 2, outline, cv::FILLED, cv::LINE_AA);
    cv::line(m, a, b, bone, width, cv::LINE_AA);
    cv::circle(m, a, knob, bone, cv::FILLED, cv::LINE_AA);
    cv::circle(m, b, knob, bone, cv::FILLED, cv::LINE_AA);
}

void paste(cv::Mat& dst, const cv::Mat& src, cv::Point at) {
    for (int y = 0; y < src.rows; ++y)
        for (int x = 0; x < src.cols; ++x) {
            int dx = at.x + x, dy = at.y + y;
            if (dx < 0 || dy < 0 || dx >= dst.cols || dy >= dst.rows) continue;
            cv::Vec4b s = src.at<cv::Vec4b>(y, x);
            cv::Vec4b& d = dst.at<cv::Vec4b>(dy, dx);
            float a = s[3] / 255.0f;
            for (int k = 0; k < 3; ++k) d[k] = static_cast<uchar>(s[k] * a + d[k] * (1 - a));
            d[3] = std::max<uchar>(d[3], s[3]);
        }
}

