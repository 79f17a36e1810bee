// Single teeth as a dental plate shows them, crown up: white enamel over the
// neck, the darker ivory of the roots below.
#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <vector>

struct ToothShape {
    std::vector<cv::Point2f> outline;  // the whole tooth, in fractions of the canvas, clockwise from the left of the neck
    float neck;                        // height of the line between crown and root
};

static cv::Mat tooth(int size, const ToothShape& shape) {
    cv::Mat m = transparentCanvas(size * 3 / 5, size);
    std::vector<cv::Point2f> outline = smoothCurve(scaled(shape.outline, m), true, 8);
    const cv::Vec3f ivory(0.72f, 0.88f, 0.97f);
    shadedShape(m, outline, 0.95f, 0.55f, ivory);
    // the crown: the outline above the neck, closed along a slightly bowed line
    std::vector<cv::Point2f> crown;
    float neckY = shape.neck * m.rows;
    for (cv::Point2f p : outline)
        if (p.y < neckY) crown.push_back(p);
    if (crown.size() < 3) return m;
    float right = crown.back().x, left = crown.front().x;
    for (int i = 0; i <= 8; ++i)
        crown.push_back(cv::Point2f(right + (left - right) * i / 8.0f, neckY + m.rows * 0.025f * std::sin(3.14159f * i / 8.0f)));
    shadedShape(m, crown, 1.0f, 0.5f);
    std::vector<cv::Point> neckLine;
    for (size_t i = crown.size() - 9; i < crown.size(); ++i) neckLine.push_back(cv::Point(cvRound(crown[i].x), cvRound(crown[i].y)));
    cv::polylines(m, neckLine, false, grey(0.35), std::max(1, size / 160), cv::LINE_AA);
    return m;
}

cv::Mat drawMolar(const DrawContext& c) {
    return tooth(c.size, {{{0.12f, 0.42f}, {0.05f, 0.27f}, {0.1f, 0.12f}, {0.26f, 0.06f}, {0.4f, 0.1f}, {0.5f, 0.15f}, {0.6f, 0.1f},
                           {0.74f, 0.06f}, {0.9f, 0.12f}, {0.95f, 0.27f}, {0.88f, 0.42f}, {0.86f, 0.6f}, {0.8f, 0.82f}, {0.72f, 0.96f},
                           {0.64f, 0.9f}, {0.6f, 0.7f}, {0.5f, 0.56f}, {0.4f, 0.7f}, {0.36f, 0.9f}, {0.28f, 0.96f}, {0.2f, 0.82f},
                           {0.14f, 0.6f}},
                          0.42f});
}

cv::Mat drawPremolar(const DrawContext& c) {
    return tooth(c.size, {{{0.2f, 0.4f}, {0.11f, 0.26f}, {0.16f, 0.12f}, {0.32f, 0.05f}, {0.45f, 0.1f}, {0.55f, 0.1f}, {0.7f, 0.04f},
                           {0.85f, 0.12f}, {0.89f, 0.26f}, {0.8f, 0.4f}, {0.72f, 0.62f}, {0.62f, 0.86f}, {0.5f, 0.97f}, {0.4f, 0.86f},
                           {0.29f, 0.62f}},
                          0.4f});
}

cv::Mat drawIncisor(const DrawContext& c) {
    return tooth(c.size, {{{0.26f, 0.4f}, {0.16f, 0.2f}, {0.14f, 0.05f}, {0.5f, 0.035f}, {0.86f, 0.05f}, {0.84f, 0.2f}, {0.74f, 0.4f},
                           {0.66f, 0.65f}, {0.57f, 0.9f}, {0.5f, 0.98f}, {0.43f, 0.9f}, {0.34f, 0.65f}},
                          0.4f});
}

cv::Mat drawCanine(const DrawContext& c) {
    return tooth(c.size, {{{0.27f, 0.42f}, {0.14f, 0.27f}, {0.24f, 0.14f}, {0.44f, 0.04f}, {0.5f, 0.005f}, {0.56f, 0.04f}, {0.76f, 0.14f},
                           {0.86f, 0.27f}, {0.73f, 0.42f},
                           {0.66f, 0.66f}, {0.57f, 0.9f}, {0.5f, 0.99f}, {0.43f, 0.9f}, {0.34f, 0.66f}},
                          0.42f});
}
