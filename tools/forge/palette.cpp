#include "palette.h"

#include <algorithm>
#include <cmath>

// The ramp, B G R: warm black ink, umber, sepia, buff, cream paper.
static const float kStopTones[] = {0.0f, 0.3f, 0.6f, 0.85f, 1.0f};
static const cv::Vec3f kStops[] = {{0.08f, 0.09f, 0.11f}, {0.18f, 0.23f, 0.30f}, {0.40f, 0.52f, 0.62f},
                                   {0.68f, 0.80f, 0.86f}, {0.83f, 0.92f, 0.96f}};
static const float kSaturationCap = 0.5f;  // (max - min) / max of any printed colour

float luma(cv::Vec3f c) { return 0.114f * c[0] + 0.587f * c[1] + 0.299f * c[2]; }

cv::Vec3f paperColour() { return kStops[4]; }
cv::Vec3f inkColour() { return kStops[0]; }

cv::Vec3f toneColour(float tone) {
    tone = std::clamp(tone, 0.0f, 1.0f);
    int i = 0;
    while (i < 3 && tone > kStopTones[i + 1]) ++i;
    float s = (tone - kStopTones[i]) / (kStopTones[i + 1] - kStopTones[i]);
    return kStops[i] + (kStops[i + 1] - kStops[i]) * s;
}

static cv::Vec3f accentColour(Accent a) {
    switch (a) {
        case Accent::Vermilion: return {0.20f, 0.30f, 0.80f};
        case Accent::Crimson: return {0.20f, 0.17f, 0.70f};
        case Accent::Ochre: return {0.24f, 0.60f, 0.80f};
        case Accent::Orange: return {0.18f, 0.47f, 0.86f};
        case Accent::Slate: return {0.60f, 0.47f, 0.32f};
        case Accent::Sage: return {0.30f, 0.52f, 0.40f};
        case Accent::Teal: return {0.66f, 0.52f, 0.20f};
        case Accent::Plum: return {0.45f, 0.27f, 0.48f};
        case Accent::Terracotta: return {0.25f, 0.38f, 0.72f};
        case Accent::None: break;
    }
    return {0, 0, 0};
}

// HSV hue in degrees and saturation of a B, G, R colour.
static float hueOf(cv::Vec3f c, float* saturation) {
    float b = c[0], g = c[1], r = c[2];
    float hi = std::max({r, g, b}), lo = std::min({r, g, b}), span = hi - lo;
    *saturation = hi > 0.04f ? span / hi : 0.0f;
    if (span < 1e-4f) return 0.0f;
    float h = hi == r ? (g - b) / span : hi == g ? 2.0f + (b - r) / span : 4.0f + (r - g) / span;
    return std::fmod(h * 60.0f + 360.0f, 360.0f);
}

static cv::Vec3f capSaturation(cv::Vec3f c) {
    float hi = std::max({c[0], c[1], c[2]}), lo = std::min({c[0], c[1], c[2]});
    if (hi <= 0.0f || hi - lo <= kSaturationCap * hi) return c;
    float mean = (c[0] + c[1] + c[2]) / 3.0f;
    // shrink towards grey until (max - min) / max reaches the cap
    float k = kSaturationCap * mean / (hi - lo - kSaturationCap * (hi - mean));
    for (int i = 0; i < 3; ++i) c[i] = mean + (c[i] - mean) * k;
    return c;
}

cv::Vec3f printColour(cv::Vec3f drawn, float tone, Accent accent) {
    cv::Vec3f c = toneColour(tone);
    if (accent == Accent::None) return c;
    cv::Vec3f a = accentColour(accent);
    float drawnSat = 0.0f, accentSat = 0.0f;
    float dh = std::abs(hueOf(drawn, &drawnSat) - hueOf(a, &accentSat));
    dh = std::min(dh, 360.0f - dh);
    float match = std::clamp(1.0f - (dh - 25.0f) / 35.0f, 0.0f, 1.0f);
    float amount = match * std::clamp((drawnSat - 0.15f) / 0.35f, 0.0f, 1.0f);
    float body = std::clamp(std::min(tone, 1.0f - tone) * 3.5f, 0.0f, 1.0f);  // ink and paper stay plain
    float la = luma(a);
    for (int i = 0; i < 3; ++i) c[i] += (a[i] - la) * amount * body;
    return capSaturation(c);
}
