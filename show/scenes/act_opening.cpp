// The opening, 0 to 13 s: the sea with jumping fish inside a picture frame,
// the logo, the moon rising and sinking, the hand, and the first figure
// hanging. Also the back wall, which stays until 73 s.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/crt_rand.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

void groupLogo(SceneFrame& f) {
    double t = f.t;
    if (!(t > 5 && t < 9)) return;
    Pushed logo;
    white();
    T(-0.261, -0.298, 3.087);
    S(0.038);
    OT(f, t < 8.5 ? 1 : 5.59);
    drawImage(f, "logo");
}

void groupBackWall(SceneFrame& f) {
    double t = f.t;
    if (!(t < 73)) return;
    double a = imageAspect(f, "otherback");
    for (int n = 0; n < 2; n++) {
        Pushed tile;
        T(2 * n * a - 0.01 * 0.071 * n, 0, -0.02 * t);  // the wall recedes slowly
        S(1);
        f.sprite.ttime = f.t;
        OT(f, 0);
        drawImage(f, "otherback");
    }
}

// The stage transform jumps at 13, 21 and 41 s; the moon itself is drawn
// from 2.5 to 49 s, rising from below (4 s) and sinking again (7.85 s).
void groupMoonStage(SceneFrame& f) {
    double t = f.t;
    Pushed stage;
    if (t >= 13) {
        T(-0.071, -0.953, 0.496);
        S(1.2);
    }
    if (t >= 21) T(-0.008, 0.606, -0.874);
    if (t >= 41) T(0.087, -0.039, 0.732);
    T(-0.102, 0.102, 0.37);
    S(0.3);
    if (t < 13) {
        moveAlong({0, -3, 0}, {0, 0, 0}, 1, std::max(0.0, (t - 4) * 0.5), 0, 1);
        moveAlong({0, 0, 0}, {0, -3, 0}, 1, std::max(0.0, (t - 6 - 1.85) * 0.75), 0, 1);
    }
    OT(f, 1);
    if (t > 2.5 && t < 49) shatterImage(f, "moon", 1);
}

// Both moves apply at every time: the hand comes down over 6 to 7.33 s and
// goes back up over 7.85 to 9.18 s. Only the picture stops at 13 s.
void groupHandLowered(SceneFrame& f) {
    double t = f.t;
    Pushed hand;
    R(180);
    T(0.111, -0.142, 0.504);
    S(0.6);
    moveAlong({0, 3, 0}, {0, 0, 0}, 1, std::max(0.0, (t - 6) * 0.75), 0, 1);
    moveAlong({0, 0, 0}, {0, 3, 0}, 1, std::max(0.0, (t - 6 - 1.85) * 0.75), 0, 1);
    OT(f, 2);
    if (t < 13) drawImage(f, "handother");
    OT(f, 1);
}

void groupHandRows(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 9 && t < 13)) return;
    auto bob = [&](int i, double k) { return std::sin(i + trunc32(8 * t) * 0.125) * k; };
    for (int i = 0; i < 4; i++) {
        Pushed hand;
        T(0, bob(i, 0.2), 0);
        T(0.386 * i - 0.417, -0.48, 0.606);
        R(180);
        T(0.111, -0.142, (t - 9) * 0.005 + 0.504);
        S(0.3);
        J(f, 413, 1);
        OT(f, 2);
        drawImage(f, "handother");
        OT(f, 1);
    }
    for (int i = 0; i < 4; i++) {
        Pushed hand;
        T(0, bob(i, 0.1), 0);
        T(0.354 * i - 0.48, 0.008, 1);
        T(0.111, -0.142, (t - 9) * 0.005 + 0.504);
        S(0.3);
        J(f, 413, 1);
        OT(f, 2);
        drawImage(f, "handother");
        OT(f, 1);
    }
}

// The generator is reseeded from the time even after the sea has gone, so
// every later group's running random values follow the scene time.
static void reseedFromTime(float t) {
    float product = t * 42342;  // single precision, converted through 64 bits
    int64_t whole = (product > -9.2e18f && product < 9.2e18f) ? static_cast<int64_t>(product) : INT64_MIN;
    crtSrand(static_cast<uint32_t>(whole));
    discard(10000);
}

// Nine fish jumping out of the first water layer from 6.5 s; each fish keeps
// its own fixed values (seed 44242; row 1 drops 1000 + j, row 2 3000 + j).
static void fishRow(SceneFrame& f, int row, double shake) {
    double t = f.t;
    for (int j = -4; j <= 4; j++) {
        int o = 1 + 10 * (j + 4);
        fixedLayout(44242, j + (row == 1 ? 1000 : 3000));
        Pushed fish;
        T(trunc32(4 * t) * 0.25 * 0.12 + 0.6 * j + 0.142, -0.449, 0.89 - 0.02 * 0.449 * t);
        if (row == 1) {
            R(20 * std::sin(1.7 * t + 200 * rnd()));
            double e = ease(t - 6.5);
            double x = 0.2 * rnd();
            T(x, 0.324 * e - 0.37, 0);
            S(0.2 * (0.5 * rnd() + 1));
        } else {
            R(2 * trunc32(10 * std::sin(1.7 * t + 200 * rnd())));
            double e = ease(t - 6.5);
            double x = 0.2 * rnd();
            T(x, 0.354 * e - 0.46227, 0.087 * 0.2 * t - 0.0896);
            if (t >= 9) T(0, -0.165, 0.048);
            S(0.6 * 0.2 * (0.5 * rnd() + 1));
        }
        J(f, o, shake);
        drawImage(f, "fishmore");
    }
}

void groupSea(SceneFrame& f) {
    double t = f.t;
    reseedFromTime(f.t);
    if (!(t < 13)) return;
    for (int i = 0; i < 4; i++) {
        Pushed layer;
        double shake = t > 9 ? 2 : 0.5;
        if (i == 0 && t > 6.5) {
            fishRow(f, 1, shake);
            fishRow(f, 2, shake);
        }
        T(0, 0, 0.2);
        double q = 1 + 0.15 * i;
        colour(q, q, q);
        jitter(static_cast<float>(0.5 * t), i, true, 1);
        S(0.3);
        T(0.5 * std::sin(i + 1.3 * t) - 0.696, (0.244 * ease(0.15 * (t + 1)) - 0.5) * 8 - 0.2 * i, 0.02 * i + 2.05);
        T(0, 0, 0.02 * t);
        OT(f, 1);
        drawImage(f, i % 2 == 0 ? "sea2" : "sea1");
        white();
    }
}

void groupPictureFrame(SceneFrame& f) {
    double t = f.t;
    if (!(t < 9)) return;
    Pushed frame;
    T(-0.064, 0.064, 0.02 * t + 2.665);
    S(1.03);
    jitter(static_cast<float>(0.25 * t), 0, true, 1);
    OT(f, 4);
    drawImage(f, "frame_1");
}

// The first figure comes down into the picture over 5 s; its transform is
// set at every time, the picture only before 21 s.
void groupFirstFigure(SceneFrame& f) {
    double t = f.t;
    Pushed figure;
    T(-0.15, -0.465, 0.02 * 0.307 * t + 0.827);
    S(0.5);
    white();
    T(0, -0.13, 0);
    R(180);
    moveAlong({0, 1, 0}, {0, 0, 0}, 1, std::max(0.0, (t - 0.4) * 0.2), 443, 1);
    OT(f, 5);
    if (t < 21) drawMeshTarget(f, f.meshTargetA);
}
