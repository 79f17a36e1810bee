// The grid wall, 169 to 209 s: the balloon over cloud banks, taps pouring
// curls, coloured ribbons, cars and Greek backdrops.
#include <GL/glew.h>

#include <algorithm>
#include <string>

#include "show/effects/curls.h"
#include "show/effects/ribbon_strip.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"
#include "show/scenes/scene_pieces.h"

// Five rows by seven columns of the same picture.
void groupGridWall(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 169 && t < 209)) return;
    for (int i = -2; i <= 2; i++) {
        for (int j = -2; j <= 4; j++) {
            Pushed tile;
            T(1.212 * j, 1.212 * i, 0);
            T(0.024, 0.024, -0.331);
            S(0.61);
            OT(f, 1);
            drawImage(f, "back3");
        }
    }
}

// Climbs in 1/16 steps until 177 s, then jumps back and rides level; drifts
// off to the right from 204 s and up from 205.5 s.
static void balloon(SceneFrame& f) {
    double t = f.t;
    double bx, by;
    if (t < 177) {
        bx = trunc32((t - 169) * 16) * 0.0625 * 0.4;
        by = trunc32((t - 163.6) * 16) * 0.0625 * 0.04 - 0.2;
    } else {
        bx = trunc32((t - 169) * 16) * 0.0625 * 0.2;
        by = -0.024;
    }
    Pushed balloon;
    T(-0.96, -0.174, 0.3);
    T(1.244 * ease(trunc32((t - 204) * 16) * 0.0625 * 0.2) + bx - 0.52,
      2 * (0.456 * ease(trunc32((t - 205.5) * 16) * 0.0625 * 0.25) + by), -0.5265);
    S(0.3);
    J(f, 1554, 1);
    OT(f, 1);
    drawImage(f, "balloon2");
}

// A curtain pair that follows the camera and closes a little as the act opens.
static void curtains(SceneFrame& f) {
    double t = f.t;
    double cx = f.cameraOffset.x, cy = f.cameraOffset.y;
    double c = 0.504 - 0.071 * ease(0.35 * (t - 168.8)) + 0.087;
    for (int i = 0; i < 2; i++) {
        Pushed curtain;
        T(0.01, 0, 0);
        T(-0.024, 0.024, -2);
        T(0, cy - 0.134, 0);
        T(-0.024 - c, -0.118, 0.685);
        T(cx, 0, 0);
        if (i == 1) T(2 * c, 0, 0);
        T(0.984, -0.016, 3.051);
        T(-0.638, 0.228, 0.008);
        T(-0.638 * i, 0, 0);
        OT(f, 3);
        if (i == 1) S(-1, 1, 1);
        S(0.18);
        JAt(0.5 * t, 324 + i, 0.13);
        drawImage(f, "kourtina");
    }
}

// 93 clouds in a row, each with its own three values of seed 4234; the
// second bank lies 21.85 further right and shakes twice as fast.
static void cloudBank(SceneFrame& f, bool second) {
    double t = f.t;
    for (int j = 0; j < 93; j++) {
        Pushed cloud;
        if (second) T(21.85, 0, 0);
        T(2.616, -0.236, -2.718);
        T(0.559, 0.48, -1);
        fixedLayout(4234, 30 * j + 1000);
        rowBaseP();
        double a = rnd();
        double b = rnd();
        double c = rnd();
        T(0.2 * c - 0.238 * j, 0.6 * b, 0.8 * a);
        OT(f, 2);
        S(0.115);
        JAt((second ? 0.5 : 0.25) * t, 624 + j, 1);
        drawImage(f, ("cloud" + std::to_string(j % 4 + 1)).c_str());
    }
}

// Two angels sinking in 1/16 steps to a floor at 0.2, until 177 s.
static void angels(SceneFrame& f) {
    double t = f.t;
    double h = std::max(0.2, 1.668 - trunc32((t - 154) * 16) * 0.0625 * 0.243 * 0.5);
    {
        Pushed angel;
        T(0.528, -0.228, 0.071);
        T(1.308, 2 * h, -0.552);
        S(-0.8, 0.8, 0.8);
        J(f, 13554, 0.5);
        OT(f, 2.715);
        drawImage(f, "angel");
    }
    {
        Pushed angel;
        T(-2.172, 0.465, 0.26);
        T(1.308, 2 * h, -0.552);
        S(1);
        J(f, 13554, 0.5);
        OT(f, 2.715);
        drawImage(f, "angel");
    }
}

// A Greek backdrop stands on the forest's floor, placed by two values of
// seed 4234 after 41 dropped.
static void backdropOffset() {
    fixedLayout(4234, 40);
    discard(1);
    T(0.472, 1.914, -0.622);
    forestBase();
}

// Sinks slowly until 177 s.
static void greekBackdrop(SceneFrame& f) {
    double t = f.t;
    Pushed backdrop;
    T(-1, -0.087 - 0.528 * 0.1 * (t - 169), 0);
    backdropOffset();
    S(1.2, 1.1, 1.1);
    J(f, 129, 0.2);
    OT(f, -10);
    white();
    drawImage(f, "greekback");
}

static void secondGreekBackdrop(SceneFrame& f) {
    Pushed backdrop;
    T(2.616, 0.156, 0);
    backdropOffset();
    S(0.8);
    S(-1.2, 1.1, 1.1);
    J(f, 129, 0.2);
    OT(f, -10);
    white();
    drawImage(f, "greekback3");
}

// Six taps along the wall, tap 2 mirrored; each pours the curl of its own
// colour, tap 2 first (from 191 s), the others from 192 s, 0.9 s apart.
static void taps(SceneFrame& f) {
    double t = f.t;
    for (int k = 0; k < 6; k++) {
        Pushed tap;
        white();
        if (k == 1) T(-0.008, -0.386, 0.748);
        if (k == 3) T(-0.512, -0.937, -0.37);
        if (k == 4) T(-0.969, -0.228, -0.134);
        if (k == 5) T(-1, -0.102, 0.417);
        T(0.5 * k, 0, 0);
        T(3.962, 0.591, -0.102);
        if (k == 2) {
            T(-2.172, 0.362, -0.307);
            S(-1, 1, 1);
        }
        S(0.5);
        JAt(0.46 * t, 4554 + k, 0.3);
        OT(f, 2);
        drawImage(f, "tap");
        ShaderProgram::unuse();
        Pushed spout;
        T(-0.827, -0.669, -0.008);
        double x = k == 2 ? std::max(0.0, t - 191) : std::max(0.0, t - 192 - 0.9 * k);
        drawCurl(f.t, k, x);
    }
}

static void ribcage(SceneFrame& f) {
    double t = f.t;
    Pushed ribs;
    T(2.048, 0.032, -0.33);
    S(0.9);
    JAt(0.5 * t, 1554, 0.5);
    OT(f, 2);
    drawImage(f, "ribcageb");
    Pushed front;
    T(0, 0, 0.0213);
    drawImage(f, "ribcagef");
}

struct RibbonRun {
    int steps;
    float degrees, stepLength;
};

// A ribbon's turtle path: its runs from (0, 0, 0) heading up.
struct RibbonShape {
    RibbonRun runs[5];
    int runCount;
};

static const RibbonShape LONG_RIBBON = {
    {{200, -0.087f, 0.01f}, {100, 1.8f, 0.01f}, {100, -0.669f, 0.01f}, {100, -1.8f, 0.002f}, {200, 0, 0.0021f}}, 5};
static const RibbonShape STEEP_RIBBON = {
    {{100, -0.187f, 0.01f}, {100, 1.8f, 0.01f}, {100, -0.669f, 0.01f}, {100, -1.8f, 0.002f}, {200, 0, 0.0021f}}, 5};
static const RibbonShape SHORT_RIBBON = {
    {{200, -0.187f, 0.01f}, {100, 1.8f, 0.01f}, {100, -0.669f, 0.01f}, {100, -1.8f, 0.002f}}, 4};

// Six ribbons side by side in the six curl colours along one turtle path
// from the current origin, drawn up to progress P; with `layered` the odd
// ones stand out in depth between 192.3 and 196.3 s.
static void ribbonSet(double t, const RibbonShape& shape, double progress, double jitterTime, bool layered) {
    int count = 0;
    for (int r = 0; r < shape.runCount; r++) count += shape.runs[r].steps;
    double x = std::min(1.0, std::max(0.0, progress));
    float end = static_cast<float>(count * x);
    RibbonPath path;
    if (end >= 1) {  // otherwise nothing of it shows
        path.reserve(count);
        Turtle pen = {{0, 0, 0}, {0, 1, 0}};
        for (int r = 0; r < shape.runCount; r++) {
            const RibbonRun& run = shape.runs[r];
            walk(pen, path, run.steps, run.degrees, run.stepLength, 0.02f);
        }
    }
    glDisable(GL_TEXTURE_2D);
    for (int l = 0; l < CURL_COLOUR_COUNT; l++) {
        CurlColour c = curlColour(l);
        colour(c.r, c.g, c.b);
        Pushed ribbon;
        if (layered) T(0, 0, 0.03 * (l % 2) * (ease(t - 192.3) - ease(t - 196.3)));
        JAt(jitterTime, 13554 + l, 0.1);
        drawRibbon(path, 0, end, 1, 1, 1, static_cast<float>(0.04 * l), 0, 0);
    }
}

// Set 4's cut-outs: the foreground cards, two cars (the second drives off in
// eighth-second steps from 200 s and tips over), an angel, two backdrops.
static void cardsOfTheFourthSet(SceneFrame& f) {
    double t = f.t;
    const double x0 = 1.36 + 0.0268;
    auto card = [&](const char* key) {
        OT(f, -1);
        white();
        drawImage(f, key);
    };
    {
        Pushed fore;
        T(x0, 2.7006, -1.118);
        T(3.924, -1.182, 0.74);
        JAt(0.6 * t, 1291, 0.15);
        S(-0.4, 0.4, 0.4);
        card("fore1");
    }
    {
        Pushed fore;
        T(x0, 2.7006, -1.118);
        T(-0.354, -1.182, 0.552);
        JAt(0.66 * t, 1292, 0.2);
        S(0.3);
        card("fore2");
    }
    {
        Pushed car;
        T(x0 - 0.06 * (t - 190), 2.7006, -1.118);
        J(f, 129, 0.2);
        S(0.11);
        card("car4");
    }
    {
        Pushed car;
        T(1.796, -0.992, 0.828);
        T(x0 - 0.06 * trunc32((t - 200) * 8) * 0.125, 2.7006, -1.118);
        T(0, -0.402 * ease(t - 199 + 0.291), 0);
        J(f, 129, 0.2);
        S(0.11);
        R(100 * ease(t - 198.4));
        card("car4");
    }
    {
        Pushed angel;
        T(-1.725, 2.196, -0.495);
        J(f, 129, 0.2);
        S(0.5);
        card("angel");
    }
    {
        Pushed backdrop;
        T(-2.007, 0.96, -1.496);
        JAt(0.7 * t, 123, 0.1);
        S(-0.7, 0.5, 0.5);
        card("greekback");
    }
    {
        Pushed backdrop;
        T(5, 1.812, -1.496);
        JAt(0.7 * t, 124, 0.1);
        S(-1.1, 1.1, 1.1);
        card("greekback3");
    }
}

// Four sets of ribbons unrolling in 1/16 steps, each in its own window.
static void ribbonSets(SceneFrame& f) {
    double t = f.t;
    if (t >= 177 && t < 195) {
        Pushed set;
        ShaderProgram::unuse();
        T(1.729, -1.18, -0.3182);
        ribbonSet(t, LONG_RIBBON, trunc32((t - 177) * 16) * 0.0625 * 0.134, 0.5 * t, false);
    }
    if (t >= 184) {
        Pushed set;
        ShaderProgram::unuse();
        T(1.77, -0.024, 0.086);
        T(1.729, -1.18, -0.3182);
        ribbonSet(t, LONG_RIBBON, trunc32((t - 184) * 16) * 0.0625 * 0.08, 0.5 * t, true);
    }
    if (t >= 190) {
        Pushed set;
        ShaderProgram::unuse();
        T(0.2433, 0.449, 1);
        T(3.777, -0.024, 0.086);
        T(1.729, -1.18, -0.3182);
        ribbonSet(t, STEEP_RIBBON, trunc32((t - 198.06) * 16) * 0.0625 * 0.08, t, true);
    }
    if (t >= 177) {
        Pushed set;
        ShaderProgram::unuse();
        T(2.217, -2, 1);
        ribbonSet(t, SHORT_RIBBON, trunc32((t - 179) * 16) * 0.0625 * 0.134, t, false);
        cardsOfTheFourthSet(f);
    }
}

void groupGridWallRibbons(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 169 && t < 209)) return;
    balloon(f);
    curtains(f);
    cloudBank(f, false);
    cloudBank(f, true);
    if (t < 177) {
        angels(f);
        greekBackdrop(f);
    }
    if (t >= 184) taps(f);
    if (t >= 177) ribcage(f);
    ribbonSets(f);
    if (t < 177) secondGreekBackdrop(f);
}
