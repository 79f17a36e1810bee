#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

cv::Mat transparentCanvas(int w, int h) { return cv::Mat(h, w, CV_8UC4, cv::Scalar(0, 0, 0, 0)); }

cv::Scalar ink(int b, int g, int r) { return cv::Scalar(b, g, r, 255); }

const cv::Vec3f kBone(0.86f, 0.95f, 1.0f);
const cv::Vec3f kWhite(1.0f, 1.0f, 1.0f);

cv::Scalar grey(double tone) { return ink(static_cast<int>(tone * 255), static_cast<int>(tone * 255), static_cast<int>(tone * 255)); }

// Lays a tone of a tint (B, G, R in 0..1) over the canvas with coverage a.
static void lay(cv::Vec4b& d, float tone, cv::Vec3f tint, float a) {
    if (a <= 0.0f) return;
    for (int k = 0; k < 3; ++k) d[k] = cv::saturate_cast<uchar>(tone * tint[k] * 255.0f * a + d[k] * (1.0f - a));
    d[3] = std::max<uchar>(d[3], cv::saturate_cast<uchar>(a * 255.0f));
}

// The tone of a rounded surface lit from the upper left, at offset v from
// its middle line or centre, for a radius r.
static float roundTone(cv::Point2f v, float r, float light, float dark) {
    float across = (v.x + v.y) * 0.7071f / r;  // -1 on the lit side, +1 in shadow
    float edge = (v.x * v.x + v.y * v.y) / (r * r);
    float t = 0.5f - 0.45f * across - 0.3f * edge;
    return dark + (light - dark) * std::clamp(t + 0.35f, 0.0f, 1.0f);
}

static cv::Point2f nearestOn(cv::Point2f p, cv::Point2f a, cv::Point2f b) {
    cv::Point2f ab = b - a;
    float len2 = ab.dot(ab);
    float t = len2 > 0 ? std::clamp((p - a).dot(ab) / len2, 0.0f, 1.0f) : 0.0f;
    return a + ab * t;
}

void shadedStroke(cv::Mat& m, const std::vector<cv::Point2f>& path, float width, float light, float dark, cv::Vec3f tint) {
    if (path.empty()) return;
    float r = width * 0.5f;
    cv::Rect box = cv::boundingRect(path);
    box.x -= static_cast<int>(r) + 2, box.y -= static_cast<int>(r) + 2;
    box.width += static_cast<int>(width) + 5, box.height += static_cast<int>(width) + 5;
    box &= cv::Rect(0, 0, m.cols, m.rows);
    for (int y = box.y; y < box.y + box.height; ++y)
        for (int x = box.x; x < box.x + box.width; ++x) {
            cv::Point2f p(x + 0.5f, y + 0.5f), best = path[0];
            float bestDist = static_cast<float>(cv::norm(p - best));
            for (size_t i = 0; i + 1 < path.size(); ++i) {
                cv::Point2f q = nearestOn(p, path[i], path[i + 1]);
                float d = static_cast<float>(cv::norm(p - q));
                if (d < bestDist) bestDist = d, best = q;
            }
            float a = std::clamp(r - bestDist + 0.5f, 0.0f, 1.0f);
            lay(m.at<cv::Vec4b>(y, x), roundTone(p - best, r, light, dark), tint, a);
        }
}

void shadedBall(cv::Mat& m, cv::Point2f centre, float radius, float light, float dark, cv::Vec3f tint) {
    shadedStroke(m, {centre}, radius * 2.0f, light, dark, tint);
}

void shadedShape(cv::Mat& m, const std::vector<cv::Point2f>& outline, float light, float dark, cv::Vec3f tint) {
    cv::Rect box = cv::boundingRect(outline);
    box.x -= 2, box.y -= 2, box.width += 4, box.height += 4;
    box &= cv::Rect(0, 0, m.cols, m.rows);
    if (box.empty()) return;
    std::vector<cv::Point> local;
    for (cv::Point2f p : outline) local.push_back(cv::Point(cvRound((p.x - box.x) * 8), cvRound((p.y - box.y) * 8)));
    cv::Mat cover(box.size(), CV_8U, cv::Scalar(0));
    cv::fillPoly(cover, std::vector<std::vector<cv::Point>>{local}, cv::Scalar(255), cv::LINE_AA, 3);
    cv::Mat inside;
    cv::distanceTransform(cover > 127, inside, cv::DIST_L2, cv::DIST_MASK_5);
    double deepest = 0;
    cv::minMaxLoc(inside, nullptr, &deepest);
    if (deepest <= 0) return;
    // a low relief: the shape blurred, seen a little up-left and down-right
    cv::Mat soft;
    cover.convertTo(soft, CV_32F, 1.0 / 255.0);
    cv::GaussianBlur(soft, soft, cv::Size(0, 0), std::max(1.0, deepest * 0.6));
    int d = std::max(1, static_cast<int>(deepest * 0.4));
    for (int y = 0; y < box.height; ++y)
        for (int x = 0; x < box.width; ++x) {
            float a = cover.at<uchar>(y, x) / 255.0f;
            if (a <= 0.0f) continue;
            float lit = soft.at<float>(std::min(box.height - 1, y + d), std::min(box.width - 1, x + d)) -
                        soft.at<float>(std::max(0, y - d), std::max(0, x - d));
            float rim = 1.0f - std::min(1.0f, inside.at<float>(y, x) / static_cast<float>(deepest * 0.5));
            float t = std::clamp(0.72f + 0.9f * lit - 0.25f * rim, 0.0f, 1.0f);
            lay(m.at<cv::Vec4b>(y + box.y, x + box.x), dark + (light - dark) * t, tint, a);
        }
}

// A bone: a shaft between two knobbed ends, darker at the joints.
void drawBone(cv::Mat& m, cv::Point a, cv::Point b, int width) {
    cv::Point2f pa(a), pb(b), dir = pb - pa;
    float len = static_cast<float>(cv::norm(dir));
    if (len < 1) return;
    dir /= len;
    cv::Point2f side(-dir.y, dir.x);
    float knob = width * 0.62f;
    for (cv::Point2f end : {pa + dir * (knob * 0.6f), pb - dir * (knob * 0.6f)}) {
        shadedBall(m, end + side * (knob * 0.45f), knob, 0.9f, 0.55f, kBone);
        shadedBall(m, end - side * (knob * 0.45f), knob, 0.9f, 0.55f, kBone);
    }
    shadedStroke(m, {pa + dir * knob, pb - dir * knob}, static_cast<float>(width), 0.97f, 0.6f, kBone);
}

std::vector<cv::Point2f> ovalOutline(cv::Point2f centre, cv::Size2f half, float degrees) {
    std::vector<cv::Point2f> pts;
    float turn = degrees * 3.14159265f / 180.0f;
    for (int i = 0; i < 48; ++i) {
        float a = 2.0f * 3.14159265f * i / 48.0f, u = half.width * std::cos(a), v = half.height * std::sin(a);
        pts.push_back(centre + cv::Point2f(u * std::cos(turn) - v * std::sin(turn), u * std::sin(turn) + v * std::cos(turn)));
    }
    return pts;
}

std::vector<cv::Point2f> smoothCurve(const std::vector<cv::Point2f>& points, bool closed, int steps) {
    std::vector<cv::Point2f> out;
    int n = static_cast<int>(points.size());
    if (n < 3) return points;
    auto pick = [&](int i) { return closed ? points[(i + n) % n] : points[std::clamp(i, 0, n - 1)]; };
    for (int i = 0; i < (closed ? n : n - 1); ++i) {
        cv::Point2f p0 = pick(i - 1), p1 = pick(i), p2 = pick(i + 1), p3 = pick(i + 2);
        for (int s = 0; s < steps; ++s) {
            float t = static_cast<float>(s) / steps, t2 = t * t, t3 = t2 * t;
            out.push_back(0.5f * ((2.0f * p1) + (p2 - p0) * t + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * t2 +
                                  (3.0f * p1 - p0 - 3.0f * p2 + p3) * t3));
        }
    }
    if (!closed) out.push_back(points.back());
    return out;
}

std::vector<cv::Point2f> scaled(const std::vector<cv::Point2f>& unit, const cv::Mat& m) {
    std::vector<cv::Point2f> out;
    for (cv::Point2f p : unit) out.push_back(cv::Point2f(p.x * m.cols, p.y * m.rows));
    return out;
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
