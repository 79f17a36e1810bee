// The bird, hammers and angels, 13 to 41 s: the bird bobbing and breaking
// up, the old man with vice and skull, the fish shoal, the muscle figures
// carrying fruit, the hammers, the angels, and the figures hanging on ropes.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/crt_rand.h"
#include "render/pi.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

// Where the old man, his skull and the fish stand: the same drifting place.
static void oldMansPlace(double t) { T(-0.197, -0.197, 0.02 * t + 1.017); }

// Shatter progress of the bird: whole (10) until 21.5 s, three jolts, then
// breaking up steadily from 24.5 s.
static double birdProgress(double t) {
    if (t < 21.5) return 10;
    if (t < 22.5) return 1.5;
    if (t < 23.5) return 1.35;
    if (t < 24.5) return 1.23;
    return (0.118 - (t - 24.5) * 0.09) * 10;
}

void groupBird(SceneFrame& f) {
    double t = f.t;
    if (!(t > 9 && t < 89)) return;
    Pushed bird;
    if (t >= 13) {
        T(0, 0.071, 0);
        double s = std::min(std::max(std::sin(2 * PI_DOUBLE * t + 0.346), 0.0), 0.2);
        T(0, 0.181 * s - 0.039, 0);
    }
    oldMansPlace(t);
    S(0.1);
    J(f, 0, 1);
    OT(f, 8);
    S(0.37, 1, 1);
    // It drops from 24.353 s, falling faster in eighth-second steps.
    double q = std::max(0.0, trunc32((t - 24 - 0.228) * 8) * 0.125);
    T(0, -2.236 * q * q, 0);
    shatterScreen(f, "bird", 20, birdProgress(t));
}

void groupOldMan(SceneFrame& f) {
    double t = f.t;
    if (!(t > 21 && t < 41)) return;
    Pushed man;
    T(-0.008, -0.197, -0.622);
    oldMansPlace(t);
    S(0.15);
    J(f, 0, 1);
    OT(f, 8);
    drawImage(f, "oldman2");
}

void groupViceAndSkull(SceneFrame& f) {
    double t = f.t;
    if (!(t > 21 && t < 41)) return;
    Pushed group;
    if (t >= 25) {
        Pushed vice;  // drawn in the old man's look
        T(-0.118, -0.181, 0.02 * t + 0.197);
        T(-0.008, -0.024, 0.008);
        S(0.14, 0.14, 0.19);
        S(0.6);
        J(f, 43, 0.5);
        drawImage(f, "vice");
    }
    T(0.008, 0.087, -0.811);
    oldMansPlace(t);
    S(-0.1, 0.1, 0.1);
    J(f, 4, 1);
    OT(f, 8);
    drawImage(f, "skull");
}

// Fifteen fish in a fixed layout (seed 4234) swimming left; from 33 s the
// shoal turns round and slides right in sixth-second steps.
void groupFishShoal(SceneFrame& f) {
    double t = f.t;
    if (!(t > 25 && t < 41)) return;
    crtSrand(4234);
    for (int i = 0; i < 15; i++) {
        Pushed fish;
        if (t >= 33) T(trunc32((t - 33) * 6) * 0.291 / 6 - 0.51, 0, 0);
        double u1 = rnd(), u2 = rnd(), u3 = rnd();
        T(2 * u3 - 1, u2 - 0.5, 0.2 * u1);
        T(2.08, 0.26, -1);
        oldMansPlace(t);
        S(0.1);
        double u4 = rnd();
        moveAlong({0, static_cast<float>(8 * u4 - 4), 0}, {-17, 0, 0}, 0.2, std::max(0.0, (t - 25) * 0.15), i, 1);
        OT(f, i % 2 ? 8 : 3.7);
        if (t >= 33) S(-1, 1, 1);
        drawImage(f, "fish2");
    }
}

void groupMusclesWithFruit(SceneFrame& f) {
    double t = f.t;
    if (!(t > 25 && t < 41)) return;
    double L = trunc32((t - 25) * 4) * 0.25;
    {
        Pushed pair;
        T(0.87 - 0.2 * L, 0, 0);
        T(0.181 * 0.1 * t + 3, 0, -2);
        oldMansPlace(t);
        {
            Pushed tanalia;
            S(0.25);
            J(f, 5141, 0.15);
            OT(f, 8);
            if (t >= 33) drawImage(f, "tanalia");
        }
        {
            Pushed tooth;
            T(0.307, 0.0213, 0.024);
            S(0.06);
            R(90);
            J(f, 5144, 0.2);
            OT(f, 1.77);
            if (t >= 33) drawImage(f, "tooth4");
        }
    }
    crtSrand(4234);
    for (int i = 0; i < 10; i++) {
        Pushed figure;
        T(-0.2 * L, 0, 0);
        T(-1.008, -0.543, -0.708);
        T(0.3 * i, 0, 0);
        T(2.08, 0.26, -1);
        oldMansPlace(t);
        S(0.1);
        J(f, 514 + i, 1);
        OT(f, 8);
        drawImage(f, "musclesfront");
        T(-0.606, 0.93, 0.622);
        J(f, 114 + i, 1);
        S(0.35);
        OT(f, 1);
        drawImage(f, ("fruit" + std::to_string(i % 9 + 1)).c_str());
    }
}

// Two hammers striking on quarter steps, then six more in a fixed layout
// (seed 4234), each with its own phase and turn.
void groupHammers(SceneFrame& f) {
    double t = f.t;
    if (!(t > 13 && t < 41)) return;
    for (int i = 0; i < 2; i++) {
        Pushed hammer;
        T(0.134, 0.197, 0.118);
        if (t >= 25) T(0, 0, -0.244);
        double p = 2 * PI_DOUBLE * t + 0.354 + (i == 1 ? 0.4 : 0);
        oldMansPlace(t);
        if (i == 1) {
            T(-0.268, -0.078, 0.055);
            S(-1, 1, 1);
        } else {
            T(-0.008, -0.024, -0.339);
        }
        double a = trunc32(4 * p) * 0.25;
        S(0.1);
        T(0, 0.6, 0);
        R(-26.4 - 60 * swing(a));
        T(0, -0.6, 0);
        J(f, 0, 1);
        OT(f, 8);
        drawImage(f, "hammer");
    }
    crtSrand(4234);
    for (int j = 0; j < 6; j++) {
        Pushed hammer;
        T(0.181 * j, 0, 0);
        T(-0.276, -0.181, 0.26);
        double u = rnd();
        oldMansPlace(t);
        T(-0.244, -0.102, 0.055);
        S(-1, 1, 1);
        S(0.1);
        T(0, 0.482, 0);
        double a = trunc32(((u * 0.9 + 2 * PI_DOUBLE * t + 0.354) + 0.1 * j) * 4) * 0.25;
        R(360 * rnd() - 26.4 - 60 * swing(a));
        T(0, -0.482, 0);
        J(f, 0, 1);
        OT(f, 8);
        drawImage(f, "hammer");
    }
}

void groupHandSlidingIn(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 21 && t < 41)) return;
    Pushed hand;
    moveAlong({-1, 0, 0}, {0, 0, 0}, 0.5, std::max(0.0, (t - 21) * 0.25), 0, 1);
    T(-0.7, -0.276, -0.528);
    R(90);
    T(0.111, -0.142, 0.504);
    S(0.6);
    OT(f, 2);
    drawImage(f, "handother");
    OT(f, 1);
}

// An angel of a row: bobbing on eighth-second steps, drifting towards the
// viewer with the time.
static void angelBob(double t, int i, double k) { T(0, std::sin(i + trunc32(8 * t) * 0.125) * k, 0); }
static void angelDrift(double t) { T(0.111, -0.142, (t - 9) * 0.005 + 0.504); }
static const double ANGEL_SPACING = 5 * 0.354 * 0.354;

void groupAngelsOpening(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 13 && t < 21)) return;
    for (int i = 0; i < 4; i++) {
        Pushed angel;
        T(-0.984, -0.071, -0.622);
        angelBob(t, i, 0.3);
        T(ANGEL_SPACING * i - 0.48, 0.008, 1);
        angelDrift(t);
        S(0.3);
        J(f, 413, 1);
        OT(f, 2);
        drawImage(f, "angel");
        OT(f, 1);
    }
}

void groupAngelsMirrored(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 13 && t < 41)) return;
    for (int i = 0; i < 4; i++) {
        Pushed angel;
        T(-0.984, -0.071, -0.622);
        angelBob(t, i, 0.43);
        T(5 * 0.354 * 0.417 * i, 0.008, 1);
        T(0.181, 0.465, 0.02 * i + 0.639);
        angelDrift(t);
        S(-0.3, 0.3, 0.3);
        J(f, 413, 1);
        OT(f, 2);
        drawImage(f, "angel");
        OT(f, 1);
    }
}

// Four copies of the first figure hanging from ropes, each with its own
// height (seed 4234 + 4243 r), swinging about a pivot above them.
void groupFiguresOnRopes(SceneFrame& f) {
    double t = f.t;
    if (!(t > 34 && t < 41)) return;
    for (int r = 0; r < 4; r++) {
        Pushed figure;
        crtSrand(4234 + 4243 * r);
        double u = rnd();
        T(0.512 * r + 3, 0.4 * u - 0.204 - 0.465, 0.02 * 0.307 * t + 0.827);
        T(-0.921, 0.465, -0.071);
        T(0, 2, 0);
        R(15 * std::sin(trunc32(16 * t) * PI_DOUBLE * 0.0625 + 0.2 * r + 1.570795));
        T(0, -2, 0);
        S(0.5);
        white();
        T(0, -0.13, 0);
        R(180);
        OT(f, 10);
        drawMeshTarget(f, f.meshTargetA);
        T(0.3, -1.654, -0.007);
        R(180);
        drawImage(f, "rope1");
        T(-0.008, -0.134, 0.008);
        drawImage(f, "rope2");
        T(0.008, -0.701, 0.024);
        S(0.14);
        T(0.032, -3.308, -0.096);
        S(2);
        drawImage(f, "oldman2");
    }
}

// Two copies of the second figure, one mirrored, bobbing up at 13.7 s and
// down at 22.7 s in eased sixteenth-second steps.
void groupTwoFigures(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 13 && t < 49)) return;
    double q = trunc32(16 * t) * 0.0625;
    for (int i = 0; i < 2; i++) {
        Pushed figure;
        if (t >= 41) T(0.3, 0.898, 1.024);
        T(-0.15, -0.465, 0.02 * 0.307 * t + 0.827);
        T(0, 0.48 * ease((q - 13.7) * 0.25) - 0.37, 0);
        T(0, -0.48 * ease((q - 22.7) * 0.25), 0);
        S(0.5);
        if (i == 1) T(0.969, 0, 0);
        T(-0.788, -0.156, 0.71);
        white();
        T(0, -0.13, 0);
        R(180);
        if (i == 1) S(-1, 1, 1);
        moveAlong({0, 1, 0}, {0, 0, 0}, 1, std::max(0.0, (t - 0.4) * 0.2), 543, 1);
        OT(f, t >= 41 ? 11 : 10);
        drawMeshTarget(f, f.meshTargetB);
    }
}
