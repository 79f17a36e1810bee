#include "show/effects/curls.h"

#include <GL/glew.h>

#include <algorithm>

#include "assets/draw_trace.h"
#include "assets/sprite_motion.h"
#include "render/motion.h"
#include "show/effects/ribbon_strip.h"

CurlColour curlColour(int k) {
    static const CurlColour PURE[CURL_COLOUR_COUNT] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                                       {0, 1, 1}, {1, 0, 1}, {1, 0.5f, 1}};
    if (k < 0 || k >= CURL_COLOUR_COUNT) return {1, 1, 1};
    auto lighten = [](float c) { return c + (1 - c) * 0.3f; };
    const CurlColour& c = PURE[k];
    return {lighten(c.r), lighten(c.g), lighten(c.b)};
}

static void useCurlColour(int k) {
    CurlColour c = curlColour(k);
    glColor3f(c.r, c.g, c.b);
}

// Progress in 1/16 steps, scaled so that 1/0.134 of it is the whole line.
static double unrolled(double progress) { return trunc32(progress * 16) * 0.0625 * 0.134; }

void drawCurl(float t, int k, double progress) {
    if (drawTrace) traceDraw("curl", "", {{"index", double(k)}, {"progress", progress}});
    if (k < 0 || k >= CURL_COLOUR_COUNT) return;
    double x = std::min(1.0, std::max(0.0, unrolled(progress)));
    RibbonPath path;
    path.reserve(650);
    Turtle pen = {{0, 0, 0}, {0, -1, 0}};
    walk(pen, path, 250, 0, 0.01f, 0.07f);
    walkSpiral(pen, path, 400, 1, 0.998f, 0.01f, 0.07f);
    glDisable(GL_TEXTURE_2D);
    useCurlColour(k);
    glPushMatrix();
    jitter(t, 13554 + k, true, 0.1f);
    drawRibbon(path, 0, static_cast<float>(path.count() * x), 1, 1, 1, 0, 0, 0);
    glPopMatrix();
}

// How far line `line` of figure `figure` bends its second run at time t:
// breathing in 1/32 steps from 212 s, deeper from 225 s, calm from 241 s.
static double curlPairBend(double t, int line, int figure) {
    double o = 2.0 * figure;
    if (t >= 241) return 1 + 0.528 * ease(trunc32((t - 241 - o) * 32) / 32.0 * 0.04);
    if (t >= 225) {
        double w = ease(trunc32((t - 226 - o + 0.01 * line) * 32) / 32.0 * 0.15);
        double m = trunc32((t - 232 - o + 0.25 * line) * 32) / 32.0 * 0.2 * (0.1 + 0.02 * line);
        return 1 + 0.528 * w - 0.969 * ease(m);  // ease clamps m to [0, 1]
    }
    double u = ease(trunc32((t - 212 - o + 0.01 * line) * 32) / 32.0 * 0.15);
    return 0.7 + 0.3 * u;
}

// The runs of a ribcage line: (steps, degrees) at 0.01 a step, then the spiral.
constexpr int CURL_PAIR_POINTS = 250 + 120 + 170 + 820 + 100 + 100 + 400;

static void walkCurlPairLine(RibbonPath& path, double bend) {
    Turtle pen = {{0, 0, 0}, {0, 1, 0.05f}};
    const float w = 0.02f;
    walk(pen, path, 250, -0.1012f, 0.01f, w);
    walk(pen, path, 120, static_cast<float>(1.338 * bend), 0.01f, w);
    walk(pen, path, 170, -0.078f, 0.01f, w);
    walk(pen, path, 820, -0.426f, 0.01f, w);
    walk(pen, path, 100, -0.669f, 0.01f, w);
    walk(pen, path, 100, 1.44f, 0.01f, w);
    walkSpiral(pen, path, 400, 1, 0.998f, 0.01f, w);
}

void drawCurlPair(float t, double progress, int figure) {
    if (drawTrace) traceDraw("curlPair", "", {{"progress", progress}, {"figure", double(figure)}});
    double x = std::max(0.0, std::min(1.0, unrolled(progress)));
    float end = static_cast<float>(CURL_PAIR_POINTS * x);
    // After 225 s the lines stop shaking, held at the shake of 4 s.
    float shakeTime = t < 225 ? t : 4.0f;
    RibbonPath path;
    path.reserve(CURL_PAIR_POINTS);
    StripLook look;
    look.kind = StripKind::Rising;
    glDisable(GL_TEXTURE_2D);
    for (int line = 0; line < CURL_COLOUR_COUNT; line++) {
        useCurlColour(line);
        if (end < 1) continue;
        path.clear();
        walkCurlPairLine(path, curlPairBend(t, line, figure));
        glPushMatrix();
        jitter(shakeTime, 13554 + line, true, 0.1f);
        look.sideOffset = 0.04f * line;
        drawStrip(path, 0, end, look);
        glPopMatrix();
    }
}
