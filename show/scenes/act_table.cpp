// The table, 41 to 73 s: the horse, the kicking foot, cutlery and the crab;
// the fruit rows with their swinging knives and forks; the television; the
// angels; the figure on the rope; and from 65 s the "type" picture breaking,
// skulls and fish carrying cutlery.
#include <algorithm>
#include <cmath>

#include "platform/crt_rand.h"
#include "render/pi.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

// Spoon and knife slide in together: six eased steps of 0.244 from 43.7 s.
static double spoonSlide(double t) { return trunc32(ease((t - 43.7) * 0.33) * 6) * 0.244 / 6 - 0.024; }

void groupHorseAndCutlery(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 41 && t < 49)) return;
    {
        Pushed horse;
        T(-2.616, 0.032, 0.118);
        T(2.245, -0.039, 0.165);
        S(-1.5, 1.5, 1.5);
        J(f, 323, 0.2);
        OT(f, 2);
        white();
        drawImage(f, "otherhorse");
        OT(f, 1);
    }
    if (t < 45) {
        Pushed foot;  // kicks three times a second, resting at its low point
        T(0.37, -0.244, 0.832);
        S(0.3);
        double s = swing(trunc32((t * 2 * PI_DOUBLE + 0.354) * 3) / 3.0);
        T(0, 0.402 * s, 0);
        R(-17.8 * s);
        J(f, 4, 1);
        OT(f, 8);
        drawImage(f, "footsceleton");
    }
    {
        Pushed fork;
        double e = ease((t - 42.5) * 0.4);
        double x = trunc32(e * 6) * 0.244 / 6 - 0.024;
        T(x - 0.402, -0.213, 1);
        S(0.3);
        J(f, 4, 1);
        OT(f, 8);
        drawImage(f, "fork");
    }
    double k = spoonSlide(t);
    {
        Pushed spoon;
        T(0.323 - k, -0.228, 1);
        S(0.3);
        J(f, 3, 1);
        OT(f, 8);
        drawImage(f, "spoon");
    }
    {
        Pushed knife;
        T(0.213 - k, -0.228, 1);
        S(0.3);
        J(f, 5, 1);
        OT(f, 8);
        drawImage(f, "knife2");
    }
    {
        Pushed crab;  // climbs in sixth-second steps
        T(0.213, trunc32((t - 42) * 6) / 6.0 * 0.069 - 0.228, 1);
        T(-0.307, 0.055, -0.205);
        S(0.2);
        J(f, 15, 1);
        J(f, 15, 1);
        OT(f, 8);
        drawImage(f, "crab");
    }
}

void groupCutleryAtFront(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 49 && t < 73)) return;
    Pushed group;
    T(0.024, 0.117, 1.725);
    {
        Pushed fork;
        T(-0.502, -0.213, 1);
        S(0.23);
        J(f, 4, 1);
        OT(f, 8);
        drawImage(f, "fork");
    }
    {
        Pushed spoon;
        T(0.323, -0.228, 1);
        S(0.23);
        J(f, 3, 1);
        OT(f, 8);
        drawImage(f, "spoon");
    }
    {
        Pushed knife;
        T(0.213, -0.228, 1);
        S(0.23);
        J(f, 5, 1);
        OT(f, 8);
        drawImage(f, "knife2");
    }
}

// Two forks shaking by running random values, to the end of the show; until
// 61 s two mirrored rows of fruit with a knife and a fork swinging in
// opposition; the crab until 57 s.
void groupForksAndFruitRows(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 49)) return;
    for (int i = 0; i < 2; i++) {
        Pushed fork;
        double u1 = rnd();
        double u2 = rnd();
        T(u2 - 0.5, u1 - 0.5, 0);
        T(-0.394, 0.78 - trunc32((t - 42) * 6) / 6.0 * 0.039, 1.962);
        if (i == 1) {
            T(0.512, -0.37, 0);
            S(-1, 1, 1);
        }
        S(0.1);
        R(90);
        J(f, 413 + i, 1);
        OT(f, 8);
        drawImage(f, "fork");
    }
    double K = spoonSlide(t);
    if (t < 61) {
        double a = trunc32(8 * t) * 0.125 * 2 * PI_DOUBLE;
        for (int r = 0; r < 2; r++) {
            Pushed row;
            if (r == 1) {
                T(0.134, 0.117, 0);
                S(1, -1, 1);
            }
            for (int c = 0; c < 3; c++) {
                Pushed column;
                T(0.291 * c - trunc32((t - 49) * 7) / 7.0 * 0.07, 0, 0);
                {
                    Pushed fruit;
                    T(K + 0.068, -0.346, 0.9077);
                    S(0.2);
                    J(f, 455 + c, 1);
                    OT(f, 8);
                    S(0.7);
                    drawImage(f, "fruit8");
                }
                {
                    Pushed knife;
                    T(K + 0.013, -0.228, 1.003);
                    S(0.2);
                    J(f, 5, 1);
                    OT(f, 8);
                    R(30 * std::sin(a));
                    T(0, -0.4, 0);
                    drawImage(f, "knife2");
                }
                {
                    Pushed fork;
                    T(K + 0.013, -0.228, 1.003);
                    S(0.2);
                    J(f, 5, 1);
                    OT(f, 8);
                    R(30 * std::sin(a + PI_DOUBLE));
                    T(0, -0.4, 0);
                    drawImage(f, "fork");
                }
            }
        }
    }
    Pushed crab;
    T(0.024, 0.622, 1.212);
    T(0.213, -0.228 - trunc32((t - 42) * 6) / 6.0 * 0.039, 1);
    T(-0.307, 0.055, -0.205);
    S(0.1, -0.1, 0.1);
    J(f, 15, 1);
    OT(f, 8);
    if (t < 57) drawImage(f, "crab");
}

void groupFruitBob(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 41 && t < 89)) return;
    {
        Pushed fruit;
        T(-0.354, 0.39, -0.402);
        S(1.1);
        T(0.213, trunc32((t - 42) * 6) / 6.0 * 0.1182 - 0.228, 1);
        colour(1, 0.7, 1);
        OT(f, 3);
        J(f, 613, 1);
        S(0.2);
        drawImage(f, "fruit7");
    }
    white();
}

// Two rows of four angels; the second row lifts at 61 s.
void groupAngelRows(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 49 && t < 65)) return;
    const double spacing = 5 * 0.354 * 0.354;
    auto angel = [&](int i, int jitterIndex) {
        T(0, std::sin(i + trunc32(8 * t) * 0.125) * 0.3, 0);
        T(spacing * i - 0.48, 0.008, 1);
        T(0.111, -0.142, (t - 9) * 0.005 + 0.504);
        S(0.3);
        J(f, jitterIndex, 1);
        OT(f, 2);
        drawImage(f, "angel");
        OT(f, 1);
    };
    for (int i = 0; i < 4; i++) {
        Pushed first;
        T(0.323, 0.213, 1);
        T(-0.984, -0.071, -0.622);
        angel(i, 413);
    }
    for (int i = 0; i < 4; i++) {
        Pushed second;
        T(-0.024, -0.008, 0.639);
        T(0.323, 0.213, 1);
        T(-0.984, -0.071, -0.622);
        if (t >= 61) T(0, 0.496, 0);
        angel(i, 456 + i);
    }
}

void groupTelevision(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 49 && t < 73)) return;
    Pushed tv;
    T(-0.024, 0.039, 1.975);
    T(-0.039, 0.008, 0.48);
    S(-0.94, 0.94, 0.94);
    jitter(static_cast<float>(0.5 * t), 0, true, 1);
    OT(f, 1.991);
    drawImage(f, "tv");
}

// The behind-the-table picture of 65 s, left of and behind the view's
// centre, which the type, the skulls and the fish are placed against.
static void behindTheTable() { T(-0.732, -0.11, -1.464); }

void groupTypeBreaking(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 65 && t < 73)) return;
    Pushed type;
    behindTheTable();
    white();
    S(1.308, 0.3, 0.3);
    jitter(static_cast<float>(0.5 * t), 1, true, 1);
    OT(f, 5.82);
    shatterScreen(f, "type", 30, 3 * ease((t - 65) * 0.1));
}

// Two rows of seven skulls scrolling right in sixth-second steps. Each
// reseeds the generator (4234 + 42 r + 234 i) and draws nothing from it.
void groupSkullRows(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 65 && t < 73)) return;
    for (int r = 0; r < 2; r++) {
        for (int i = 0; i < 7; i++) {
            Pushed skull;
            T(trunc32((t - 65) * 6) / 6.0 * 0.433 + i - 3.812, 1.2 * r - 0.408, 2.552);
            behindTheTable();
            white();
            S(-0.4, 0.4, 0.4);
            jitter(static_cast<float>(0.5 * t), 46 * r + i + 42, true, 1);
            crtSrand(4234 + 42 * r + 234 * i);
            OT(f, 1);
            drawImage(f, "skull");
        }
    }
}

// Thirty-five fish falling in sixteenth-second steps, each spinning with
// its own fixed values (seed 14234, 3502 + i dropped) and carrying a fork
// (odd) or a knife (even).
void groupFishCarryingCutlery(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 65 && t < 73)) return;
    for (int i = 0; i < 35; i++) {
        Pushed fish;
        int o = 46 * i;
        T(-0.284, 0.912, 3.9);
        T(-0.732, -0.11 - trunc32(16 * (t - 65)) * 0.181 * 0.0625, -1.464);
        white();
        fixedLayout(14234, i + 3502);
        double u1 = rnd(), u2 = rnd(), u3 = rnd(), u4 = rnd();
        T(1.5 * u4, 2 * u3 - 1, 0.4 * u2);
        double u5 = rnd();
        R(trunc32(8 * t) * (2 * u1 - 1) * 10 * 0.125 + 400 * u5);
        OT(f, 3);
        S(0.09);
        jitter(static_cast<float>(0.5 * t), o, true, 1);
        if (i % 4 == 3) S(0.7);
        S(0.5);
        drawImage(f, "fish2");
        Pushed cutlery;
        T(0, 0.5 * std::sin(2 * PI_DOUBLE * t) - 2, -0.04);
        S(3);
        drawImage(f, i % 2 ? "fork" : "knife2");
    }
}

// The first figure on a rope: it swings until 49 s, drops from 50.1 s and
// from 57 s hangs enlarged (and mirrored until 65 s); from 73 s five more
// copies join it in the parade.
void groupHangedFigure(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 41 && t < 89)) return;
    Pushed figure;
    crtSrand(4234);
    double u = rnd();
    T(-1.968, -0.354, 1);
    T(3, 0.4 * u - 0.204 - 0.465, 0.827);
    T(-0.921, 0.465, -0.071);
    if (t < 57) {
        double drop = std::max(0.0, t - 50.1);
        T(0, -0.279 * drop * drop, 0);
    }
    T(0, 2, 0);
    if (t < 49) R(15 * std::sin(trunc32(16 * t) * PI_DOUBLE * 0.0625 + 1.570795));
    T(0, -2, 0);
    S(0.5);
    white();
    T(0, -0.13, 0);
    R(180);
    OT(f, 10);
    if (t >= 57) {
        T(0.834, -0.45, 1.118);
        S(2);
        if (t >= 65) jitter(static_cast<float>(0.125 * t), 100, false, 1);
    }
    if (t >= 73) T(-0.638, 0.276, 0.732);
    drawMeshTarget(f, f.meshTargetA);
    if (t >= 73) {
        for (int k = 0; k < 5; k++) {
            Pushed copy;
            T(-0.638 * k, 0, 0);
            J(f, 24 + k, 1);
            drawMeshTarget(f, f.meshTargetA);
        }
    }
    if (t >= 57 && t < 65) {
        Pushed mirrored;
        T(-0.732, 0, 0);
        S(-1, 1, 1);
        drawMeshTarget(f, f.meshTargetA);
    }
    T(0.3, -1.654, -0.007);
    R(180);
    if (t < 56) drawImage(f, "rope1");
    T(-0.008, -0.134, 0.008);
    if (t < 56) drawImage(f, "rope2");
    T(0.008, -0.701, 0.024);
    S(0.14);
    T(0.032, -3.308, -0.096);
    S(2);
    if (t < 56) drawImage(f, "oldman2");
}
