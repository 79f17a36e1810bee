// The cave and the forest, 97 to 121 s: trees, muscle figures, umbrellas and
// striking axes, fish swimming past from 113 s, and the moon strip.
#include <algorithm>
#include <cmath>

#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"
#include "show/scenes/scene_pieces.h"

void groupCave(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 97 && t < 120)) return;
    Pushed cave;
    T(0, 0.1, 0.8);
    S(0.81);
    J0(f, 0, 0.34);
    OT(f, 1);
    drawImage(f, "cave");
}

// A wide strip of four tiles low in the picture: the moon strip, which drops
// from 137 s; water rising from 141 s; the golden strip from 145 s, moved
// back at 153 s.
void groupMoonStrip(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 97)) return;
    for (int i = 0; i < 4; i++) {
        Pushed tile;
        T(4.215 * i - 0.118, -2.488, 0.024);
        if (t >= 153) T(0.323, -0.197, -0.638);
        S(1.3);
        if (t >= 137 && t < 141) T(0, -0.51 - 0.071 * (t - 137), 0);
        if (t >= 141 && t < 145) T(0.244, 0.085 * (t - 141) - 0.441, 0.323);
        if (t < 141) J(f, 29, 0.1);
        OT(f, 1);
        drawImage(f, t < 141 ? "moona" : (t < 145 ? "water" : "golg"));
    }
}

// The forest's slots run from -6 to 18: element i's fixed values come from
// seed 4243 i + base, the slots 0.811 apart, alternate slots a little deeper.
static unsigned treeSeed(int i) { return static_cast<unsigned>(-21224 + 4243 * (i + 6)); }
static unsigned figureSeed(int i) { return static_cast<unsigned>(8788 + 4241 * (i + 6)); }
static double shade(int i) { return 0.5 + 0.5 * signedParity(i); }

// Trees: the image by i's remainder by 3 with i's sign, so the slots with a
// negative remainder (-5, -4, -2, -1) stay empty.
void groupForestTrees(SceneFrame& f) {
    if (!(f.t >= 97 && f.t < 121)) return;
    static const char* const trees[3] = {"tree1", "tree2", "tree3"};
    for (int i = -6; i <= 18; i++) {
        Pushed tree;
        fixedLayout(treeSeed(i), i + 40);
        discard(1);
        forestBase();
        T(0.811 * i, 0, 0.17 * signedParity(i));
        S(0.7);
        J(f, 129 + i, 0.2);
        OT(f, 1);
        colour(shade(i), shade(i), shade(i));
        int kind = i % 3;
        if (kind >= 0) drawImage(f, trees[kind]);
        white();
    }
}

// The muscle figures' own values: q (rise speed) and w (depth); they rise
// from 105 s and drop back a unit at 113 s.
struct ForestFigure {
    double y, w;
};

static ForestFigure forestFigure(double t, int i) {
    fixedLayout(figureSeed(i), i + 1540);
    double q = rnd();
    discard(1);
    double w = rnd();
    double y = (t - 105) * (0.1 * q + 0.1) - 0.7;
    if (t >= 113) y -= 1;
    return {y, w};
}

void groupForestMuscles(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 97 && t < 121)) return;
    for (int i = -6; i <= 18; i++) {
        Pushed figure;
        ForestFigure place = forestFigure(t, i);
        T(0, place.y, 0.4 * place.w - 0.2);
        T(0.449, -0.165, 0.252);
        forestBase();
        T(0.811 * i, 0, 0);
        S(0.3);
        J(f, 629 + i, 0.7);
        OT(f, 9);
        white();
        drawImage(f, "musclesback");
    }
}

// Fish swimming past in stepped arcs from 113 s, each sinking into the
// water ("OtherFlow") as it swims on; placed from the muscle figures' values.
void groupFishSwimmingPast(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 113 && t < 121)) return;
    double cycle = trunc32((std::fmod((t - 113) * 1.8, 6.3) + 113) * 8) * 0.125;
    for (int i = -6; i <= 18; i++) {
        Pushed fish;
        double h = 1 + std::sin(413.3 * i - 1);
        ForestFigure place = forestFigure(t, i);
        double m1 = std::max(0.0, (cycle - 113 - h) * 0.3);
        double m2 = std::max(0.0, (cycle - 115.5 - h) * 0.5);
        T(-m1, 0, 0);
        T(0, -m2 * m2, 0);
        T(0.654, -0.0627, 0.024);
        T(0, place.y, 0.4 * place.w - 0.2);
        T(0.449, -0.165, 0.252);
        forestBase();
        T(0.811 * i, 0, 0);
        S(-0.15, 0.15, 0.15);
        T(-1, 0, 0);
        R(-0.732 * 150 * m2);
        T(1, 0, 0);
        J(f, 629 + i, 0.7);
        OT(f, 9);
        setOtherFlow(f, 1.276 - 1.5 * 0.89 * m1);
        drawImage(f, "fishmore");
        setOtherFlow(f, 0);
    }
}

void groupUmbrellas(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 97 && t < 121)) return;
    for (int i = -6; i <= 18; i++) {
        Pushed umbrella;
        ForestFigure place = forestFigure(t, i);
        T(0, place.y, 0.4 * place.w - 0.2);
        T(0.165, 0.228, -0.008);
        T(0.449, -0.165, 0.252);
        forestBase();
        T(0.811 * i, 0, 0);
        S(-0.3, 0.3, 0.3);
        J(f, 629 + i, 0.1);
        OT(f, 9);
        white();
        drawImage(f, "umbrella");
    }
}

// Two rows of axes striking three times a second, each from its own phase.
void groupAxes(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 97 && t < 121)) return;
    const double pi = 6.283185307 / 2;
    double a0 = trunc32((2 * pi * t + 0.354) * 3) / 3.0;
    struct Row {
        double scale, rest;
        bool raised;
    };
    const Row rows[2] = {{0.35, 141.8, false}, {0.38, 195.3, true}};
    for (const Row& row : rows) {
        for (int i = -6; i <= 18; i++) {
            Pushed axe;
            fixedLayout(treeSeed(i), i + 40);
            double q = rnd();
            discard(1);
            if (row.raised) T(0.055, 0.339, 1);
            T(-0.15, -0.843, -0.087);
            forestBase();
            T(0.811 * i, 0, 0.17 * signedParity(i));
            S(row.scale);
            T(0, 0.6, 0);
            R(row.rest - 60 * swing(0.6 * q + 2.44 + a0));
            T(0, -0.6, 0);
            J(f, 329 + i, 0.5);
            OT(f, 1);
            colour(shade(i), shade(i), shade(i));
            drawImage(f, "tsekouri");
            white();
        }
    }
}
