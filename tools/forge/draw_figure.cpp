// A figure flayed to its muscles, seen from behind, as an anatomy plate draws
// it: each muscle a shaded piece of red flesh with a fine line round it.
#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <vector>

static const cv::Vec3f kFlesh(0.62f, 0.68f, 1.0f);  // B G R

static std::vector<cv::Point2f> mirrored(const std::vector<cv::Point2f>& pts, const cv::Mat& m) {
    std::vector<cv::Point2f> out;
    for (cv::Point2f p : pts) out.push_back(cv::Point2f(m.cols - p.x, p.y));
    return out;
}

// Fine lines along a muscle's length, as its fibres run.
static void fibres(cv::Mat& m, const std::vector<cv::Point2f>& shape) {
    cv::PCA axes(cv::Mat(shape).reshape(1), cv::noArray(), cv::PCA::DATA_AS_ROW);
    cv::Point2f centre(axes.mean.at<float>(0), axes.mean.at<float>(1));
    cv::Point2f along(axes.eigenvectors.at<float>(0, 0), axes.eigenvectors.at<float>(0, 1)), across(-along.y, along.x);
    float length = 2.2f * std::sqrt(axes.eigenvalues.at<float>(0)), width = 2.2f * std::sqrt(axes.eigenvalues.at<float>(1));
    std::vector<cv::Point> outline;
    for (cv::Point2f p : shape) outline.push_back(cv::Point(cvRound(p.x), cvRound(p.y)));
    cv::Mat inside(m.size(), CV_8U, cv::Scalar(0)), lines(m.size(), CV_8U, cv::Scalar(0));
    cv::fillPoly(inside, std::vector<std::vector<cv::Point>>{outline}, cv::Scalar(255));
    for (int i = -3; i <= 3; ++i) {
        cv::Point2f mid = centre + across * (width * i / 7.0f);
        cv::line(lines, mid - along * length, mid + along * length, cv::Scalar(255), std::max(1, m.rows / 500), cv::LINE_AA);
    }
    for (int y = 0; y < m.rows; ++y)
        for (int x = 0; x < m.cols; ++x) {
            float a = (lines.at<uchar>(y, x) / 255.0f) * (inside.at<uchar>(y, x) / 255.0f) * 0.45f;
            cv::Vec4b& p = m.at<cv::Vec4b>(y, x);
            for (int k = 0; k < 3; ++k) p[k] = static_cast<uchar>(p[k] * (1.0f - a));
        }
}

// A muscle and its twin on the other side, each with its fibres and a fine
// line round it.
static void muscle(cv::Mat& m, const std::vector<cv::Point2f>& left) {
    for (const auto& shape : {left, mirrored(left, m)}) {
        shadedShape(m, shape, 1.0f, 0.6f, kFlesh);
        fibres(m, shape);
        std::vector<cv::Point> line;
        for (cv::Point2f p : shape) line.push_back(cv::Point(cvRound(p.x * 4), cvRound(p.y * 4)));
        cv::polylines(m, line, true, ink(40, 40, 90), std::max(1, m.rows / 400), cv::LINE_AA, 2);
    }
}

static void limb(cv::Mat& m, std::initializer_list<cv::Point2f> path, float width) {
    std::vector<cv::Point2f> left = scaled(path, m);
    shadedStroke(m, left, width * m.cols, 1.0f, 0.6f, kFlesh);
    shadedStroke(m, mirrored(left, m), width * m.cols, 1.0f, 0.6f, kFlesh);
}

cv::Mat drawMusclesBack(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size / 2, c.size);
    limb(m, {{0.415f, 0.83f}, {0.405f, 0.95f}}, 0.06f);  // shins
    muscle(m, ovalOutline(cv::Point2f(0.41f * m.cols, 0.97f * m.rows), cv::Size2f(0.05f * m.cols, 0.014f * m.rows), 0));  // heels
    muscle(m, ovalOutline(cv::Point2f(0.41f * m.cols, 0.79f * m.rows), cv::Size2f(0.05f * m.cols, 0.065f * m.rows), 3));  // calves
    limb(m, {{0.42f, 0.56f}, {0.415f, 0.74f}}, 0.12f);   // hamstrings
    limb(m, {{0.25f, 0.24f}, {0.21f, 0.38f}}, 0.1f);     // upper arms
    limb(m, {{0.21f, 0.39f}, {0.18f, 0.53f}}, 0.08f);    // forearms
    muscle(m, ovalOutline(cv::Point2f(0.175f * m.cols, 0.56f * m.rows), cv::Size2f(0.032f * m.cols, 0.035f * m.rows), 10));  // hands
    muscle(m, ovalOutline(cv::Point2f(0.435f * m.cols, 0.53f * m.rows), cv::Size2f(0.08f * m.cols, 0.055f * m.rows), 0));   // buttocks
    muscle(m, scaled({{0.31f, 0.24f}, {0.44f, 0.3f}, {0.5f, 0.37f}, {0.5f, 0.47f}, {0.42f, 0.48f}, {0.35f, 0.43f}, {0.3f, 0.33f}}, m));
    muscle(m, ovalOutline(cv::Point2f(0.465f * m.cols, 0.44f * m.rows), cv::Size2f(0.035f * m.cols, 0.06f * m.rows), 0));    // along the spine
    muscle(m, ovalOutline(cv::Point2f(0.39f * m.cols, 0.26f * m.rows), cv::Size2f(0.07f * m.cols, 0.045f * m.rows), -20));   // over the shoulder blade
    muscle(m, scaled({{0.5f, 0.12f}, {0.38f, 0.165f}, {0.26f, 0.19f}, {0.4f, 0.24f}, {0.5f, 0.36f}}, m));  // trapezius
    muscle(m, ovalOutline(cv::Point2f(0.27f * m.cols, 0.215f * m.rows), cv::Size2f(0.075f * m.cols, 0.05f * m.rows), 70));   // deltoids
    muscle(m, scaled({{0.44f, 0.11f}, {0.5f, 0.11f}, {0.5f, 0.17f}, {0.41f, 0.17f}}, m));  // neck
    muscle(m, ovalOutline(cv::Point2f(0.5f * m.cols, 0.075f * m.rows), cv::Size2f(0.085f * m.cols, 0.068f * m.rows), 0));    // the back of the head
    return m;
}
