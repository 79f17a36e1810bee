#include "key.h"

#include <algorithm>
#include <cmath>

static float smoothstep(float e0, float e1, float x) {
    float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

static float keyGreen(cv::Vec3f c) { return c[1] - std::max(c[0], c[2]); }

static cv::Vec3f toFloat(cv::Vec3b t) { return cv::Vec3f(t[0], t[1], t[2]) / 255.0f; }

static uchar toByte(float v) { return static_cast<uchar>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); }

float keyCoverage(cv::Vec3b texel) { return 1.0f - smoothstep(kKeyFrom, kKeyTo, keyGreen(toFloat(texel))); }

cv::Vec3b keyedTexel(cv::Vec3f c, float coverage) {
    if (coverage <= 0.0f) return kKeyColour;
    if (coverage >= kWhole) {
        // a green colour keeps at most kInkGreen of it, darkened like an edge
        float m = std::max(c[0], c[2]), g = std::min(c[1], m + kInkGreen * (1.0f - m));
        float d = g > m ? (g - m) / (1.0f - m) : 0.0f;
        return cv::Vec3b(toByte(c[0] * (1.0f - d)), toByte(g), toByte(c[2] * (1.0f - d)));
    }
    // the inverse of the smoothstep: which d gives this coverage
    float x = 0.5f - std::sin(std::asin(1.0f - 2.0f * (1.0f - coverage)) / 3.0f);
    float d = kKeyFrom + (kKeyTo - kKeyFrom) * x;
    uchar b = toByte(c[0] * (1.0f - d)), r = toByte(c[2] * (1.0f - d));
    // rounded up, so an edge texel never reads as whole
    int g = std::max(b, r) + static_cast<int>(std::ceil(d * 255.0f));
    return cv::Vec3b(b, static_cast<uchar>(std::min(g, 255)), r);
}

cv::Vec3f shownColour(cv::Vec3b texel) {
    cv::Vec3f t = toFloat(texel);
    float d = std::max(keyGreen(t), 0.0f);
    cv::Vec3f c = t / std::max(1.0f - d, 0.5f);
    float edge = smoothstep(kEdgeFrom, kKeyFrom, d);
    c[1] = t[1] + (0.5f * (c[0] + c[2]) - t[1]) * edge;
    for (int k = 0; k < 3; ++k) c[k] = std::clamp(c[k], 0.0f, 1.0f);
    return c;
}
