// The stage, 121 to 161 s: curtains, the saw, the bee swarm, the figure on
// its rope and its fall, nails, hammers, tears and the sea with the old men.
#include <cmath>

#include "render/pi.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"
#include "show/scenes/scene_pieces.h"

void groupStage(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 121 && t < 160)) return;
    Pushed stage;
    T(0.024, 0.024, 0.669);
    S(0.61);
    J0(f, 0, 0.34);
    OT(f, 1);
    drawImage(f, "stage");
}

// A curtain half placed against the camera: `opening` apart from the middle,
// i = 1 the mirrored right half.
static void curtainHalf(const SceneFrame& f, double opening, int i) {
    const Vec3 c = f.cameraOffset;
    T(0, c.y - 0.134, 0);
    T(-0.024 - opening, -0.118, 0.685);
    T(c.x, 0, 0);
    if (i == 1) T(2 * opening, 0, 0);
    T(-0.638 * i, 0, 0);
}

// The stage curtains: closing until 121 s, opening to 130 s, closing again
// and opening at 141 s; the gap moves in 512ths of its square.
void groupCurtainPair(SceneFrame& f) {
    double t = f.t;
    if (!(t > 110 && t < 145)) return;
    double v = t < 121 ? 1 - 0.717 * 0.1 * (t - 115) : 0.717 * 0.1 * (t - 121 + 8.11 - 0.2);
    if (t >= 130) v = 0.828 - 0.25 * ease((t - 130) * 0.195);
    if (t >= 141) v = 0.639 + 0.25 * ease((t - 141) * 0.225);
    double e = trunc32(v * v * 512) / 512.0;
    for (int i = 0; i < 2; i++) {
        Pushed curtain;
        T(0.339, 0.26, 1.347);
        curtainHalf(f, e, i);
        OT(f, 12);
        if (i == 1) S(-1, 1, 1);
        S(0.18);
        if (t < 141) J(f, 24 + i, 0.15);
        drawImage(f, "kourtina2");
    }
}

// Five pairs of curtains one behind the other, opening one after another.
void groupCurtainsInDepth(SceneFrame& f) {
    double t = f.t;
    if (!(t > 145 && t < 153)) return;
    for (int k = 0; k < 5; k++) {
        double a = k == 0 ? -0.701 : 0.5 + 0.48 * ease((t - 146 - 0.654 * k) * 0.15);
        double e = trunc32(a * a * 512) / 512.0;
        for (int i = 0; i < 2; i++) {
            Pushed curtain;
            T(0.339, 0.26, 3 * 0.465 * 0.654 * k + 1.347 - 2.007);
            curtainHalf(f, e, i);
            OT(f, 12);
            if (i == 1) S(-1, 1, 1);
            S(0.6);
            drawImage(f, "kourtina2");
        }
    }
}

// The saw hops with the parade's beat until 97 s; from 121 s it sinks in
// 64th steps, in the look of the figures.
void groupSaw(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 89 && t < 145)) return;
    Pushed saw;
    if (t >= 121) T(0, trunc32((0.26 - 0.07 * (t - 121)) * 64) / 64.0, 0);
    T(0.13, -0.137, 0.677);
    if (t >= 121) T(0, 0, -0.2319);
    OT(f, 3);
    R(-90);
    S(0.5);
    if (t < 97) T(0, 0.5 * hop(t, 1.086 + 1.63236), 0);
    if (t >= 121) OT(f, 10);
    J(f, 27, 1);
    drawImage(f, "saw");
}

// The queen bee leaves the body at 124 s along a parabola in 24ths of a
// second; after 124.5 s twenty more follow, each at its own speed.
void groupBees(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 121 && t < 146)) return;
    {
        Pushed queen;
        T(0.008, -0.087, 0.024);
        T(-0.26, -0.055, -0.378);
        if (t > 124) {
            double g = trunc32((t - 124) * 24) / 24.0;
            T(-0.291 * g * g, 0.307 * g, 0);
        }
        T(0.13, -0.097, 0.827);
        OT(f, 10);
        S(0.1);
        jitter(static_cast<float>(2 * t), 49, true, 0.2f);
        if (t > 124) J(f, 49, 3.5);
        drawImage(f, "bee");
    }
    if (t > 124.5) {
        for (int i = 0; i < 20; i++) {
            Pushed bee;
            T(0.0938, -0.0264, 0);
            T(-0.26, -0.055, -0.378);
            if (t > 124) {
                double g = trunc32((0.3 * std::sin(75.52 * i) + 1) * (t - 124.7 - 0.05 * i) * 24) / 24.0;
                T((0.7 * std::sin(21.52 * i) + 1) * (-0.291 * g * g), (0.7 * std::sin(5.34 * i) + 1) * 0.307 * g, 0);
                T(0, 0, 0.02 * g);
            }
            T(0.13, -0.097, 0.827);
            OT(f, 10);
            S(0.3);
            S(0.1);
            jitter(static_cast<float>(2 * t), 349 + i, true, 0.2f);
            if (t > 124) J(f, 349 + i, 5.5);
            drawImage(f, "bee");
        }
    }
    Pushed body;
    T(-0.26, -0.055, -0.378);
    T(0.13, -0.097, 0.827);
    OT(f, 10);
    S(0.4);
    J(f, 47, 0.1);
    drawImage(f, "musclesback");
}

// The figure on its rope, with the old man and the helmet, lowers until
// 137 s; then the old man and the helmet are gone and the rope, enlarged
// threefold, hangs the figure upside down, dropping in eighth steps.
void groupFigureOnRope(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 121 && t < 141)) return;
    Pushed rope;
    T(-0.26, -0.055, 0.071);
    T(0.165, 0.37, 0.89);
    if (t < 137)
        T(0, 0.024 - 0.049 * 0.134 * 20 * (t - 122) + 0.075, 0);
    else
        T(-0.118, 4 * (-0.21 - 0.118 * trunc32((t - 137) * 8) * 0.125), -1.402);
    T(0.122, -0.184, 0.827);
    if (t >= 137) S(3);
    OT(f, 14);
    S(-1, 1, 1);
    drawImage(f, "rope1");
    {
        Pushed strand;
        T(0, 0, 0.02);
        drawImage(f, "rope2");
    }
    if (t >= 137) {
        T(-0.008, -2.574, 0);
        S(1, -1, 1);
    }
    {
        Pushed man;
        T(0.008, -1.0515, 0.024);
        S(0.14);
        if (t < 137) drawImage(f, "oldman2");
    }
    {
        Pushed helmet;
        T(0.008, 0.276, 0.024);
        T(0.008, -1.0515, 0.024);
        S(0.1);
        T(0.071, -1, 0.197);
        S(2);
        if (t < 137) drawImage(f, "helmet");
    }
    Pushed figure;
    T(-0.087, -1.276, 0.008);
    drawMeshTarget(f, f.meshTargetA);
}

// The fall: eleven fish in a fixed layout (seed 4235) rising in 24ths of a
// second past the figure, which rises with them, turned over.
void groupFall(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 141 && t < 145)) return;
    for (int i = 0; i < 11; i++) {
        Pushed fish;
        fixedLayout(4235, 10 * i + 500);
        T(0.236, -3.182, 0.45);
        T(0, 0.181 * trunc32((t - 141) * 24) / 24.0 + 0.1, 0);
        double g = rnd();
        T(-0.1 * std::sin(i + 0.4 * t), 0, 0);
        double r1 = rnd(), r2 = rnd();
        T(2 * r2 - 1, 2 * r1 - 1, 1.2 * g);
        R(60 * rnd() - 93.7);
        S(0.1);
        colour(1.2 * g + 0.2, 1.2 * g + 0.2, 1.2 * g + 0.2);
        OT(f, 12.236);
        drawImage(f, "fish2");
        white();
    }
    Pushed figure;
    T(0.039, -2.616 + 0.181 * (t - 141), 0.488);
    S(2);
    OT(f, 14);
    T(0, -0.339, 0);
    R(-196.28);
    T(0, 0.339, 0);
    S(-1, 1, 1);
    Pushed picture;
    T(-0.087, -1.276, 0.008);
    drawMeshTarget(f, f.meshTargetA);
}

// Nails sinking into the floor in whole-second steps (until 153 s); then the
// skull, the old man, more nails and the bee; knives; the second figure's
// copies; hammers striking; tears falling; the figure with wings.
void groupNailsAndHammers(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 145 && t < 161)) return;
    Pushed group;
    if (t < 153) {
        for (int r = 0; r < 2; r++) {
            for (int i = -5; i <= 7; i += 2) {
                Pushed nail;
                T(0.25 * i - 0.039, -2.631 - 0.06 * trunc32(t - 145), 0.4 * r + 0.7);
                S(0.15);
                R(-90);
                OT(f, 11);
                setOtherFlow(f, 0.402 - 0.417 * trunc32(t + 0.5 - 145));
                drawImage(f, "nail");
            }
        }
        setOtherFlow(f, 0);
    }
    double a = trunc32((PI_TEN_PLACES * t + 0.354 - 0.221 + 1.322) * 8) * 0.125;
    double d = std::pow(std::fabs(std::sin(a)), 6);
    {
        Pushed skull;
        S(0.8);
        T(0.039, -2.112 - 0.213 * d, 0.22);
        S(0.4);
        J(f, 1554, 0.2);
        if (t > 153) drawImage(f, "skull");
    }
    white();
    OT(f, 12.236);
    {
        Pushed man;
        T(-0.024, -2.616, 0.088);
        S(0.9);
        J(f, 554, 0.2);
        if (t > 153) drawImage(f, "oldman2");
    }
    for (int i = -5; i <= 7; i++) {
        Pushed nail;
        T(0.25 * i - 0.134, -2.481 - 0.06 * trunc32(t + 1.012 - 153), 0.236);
        S(0.1);
        R(-90);
        J(f, 1554, 0.2);
        if (t > 153) drawImage(f, "nail");
    }
    {
        Pushed bee;
        T(0.15, 0.732, -0.291);
        T(-0.055, -2.409, 0.261);
        T(0.039, -0.213 * d, 0.22);
        S(0.08);
        J(f, 54, 0.5);
        OT(f, 8);
        if (t >= 153) drawImage(f, "bee");
    }
    T(0.496, 0.197, 0);
    T(-0.433, -0.102, -0.165);
    {
        Pushed knife;
        T(-0.055, -2.409, 0.261);
        S(0.8);
        J(f, 4, 0.3);
        OT(f, 8);
        drawImage(f, "knife2");
    }
    {
        Pushed knife;
        T(-0.102, -2.007, 0.269);
        R(90);
        S(0.6);
        J(f, 4, 0.3);
        OT(f, 8);
        drawImage(f, "knife2");
    }
    T(-0.071, -1.496, 0.268);
    S(2);
    OT(f, 14);
    T(0, -0.339, 0);
    R(-2.24);
    T(0, 0.339, 0);
    S(-1.5, 1.5, 1.5);
    if (t < 153) {
        for (int i = 0; i < 4; i++) {
            Pushed copy;
            T(1.062, -1.818, 2.34 - i);
            OT(f, 14);
            R(180);
            S(0.45);
            J(f, 347, 0.2);
            drawMeshTarget(f, f.meshTargetB);
        }
    }
    double e = ease((t - 153) * 0.2);  // the hammers part from 153 s
    for (int n = 0; n < 2; n++) {
        for (int i = 0; i < 2; i++) {
            Pushed hammer;
            T(-1.276, -1.56, 0.661 - 0.685 * n);
            T(1.37, -0.346, 0.575);
            T(0.134, 0.197, 0.118);
            T(i == 0 ? -0.669 * e : 0.669 * e - 0.348, 0, 0);
            S(0.8);
            double x = PI_TEN_PLACES * t + 0.354 + 0.25 * n + 0.244 + (i == 1 ? PI_TEN_PLACES : 0) + 0.708;
            hammerStroke(trunc32(4 * x) * 0.25, i);
            J(f, 13 + 3 * n + i, 1);
            OT(f, 3);
            drawImage(f, "hammer");
        }
    }
    if (t >= 153) {
        for (int i = 0; i < 15; i++) {
            Pushed tear;
            T(-0.087, -0.465, -0.764);
            dropTear(f, 10 * i + 300, 0.2, 0.3, 0.04, i);
        }
        for (int c = 0; c < 2; c++) {
            for (int i = 0; i < 2; i++) {
                Pushed hammer;
                T(0.843, 0.96 - 0.984 * c, -1.15 - 0.307 * c);
                T(-1.276, -1.56, 0.661);
                T(1.37, -0.346, 0.575);
                T(0.134, 0.197, 0.118);
                T(i == 1 ? -1.984 : 0, 0, 0);
                S(0.3);
                double x = PI_TEN_PLACES * t + 0.354 + 0.244 - 0.2 * c + (i == 1 ? PI_TEN_PLACES : 0) + 0.76;
                hammerStroke(trunc32(4 * x) * 0.25, i);
                J(f, 243 + 30 * c + i, 1);
                OT(f, 3);
                drawImage(f, "hammer");
            }
        }
    }
    for (int i = 0; i < 4; i++) {
        Pushed copy;
        T(-0.938, -1.7, 2.34 - i);
        OT(f, 14);
        R(180);
        S(-1, 1, 1);
        S(0.45);
        J(f, 347, 0.2);
        drawMeshTarget(f, f.meshTargetB);
    }
    {
        Pushed wings;
        T(0.008, -0.717, -0.016);
        OT(f, 14);
        S(0.6);
        J(f, 347, 1);
        if (t >= 153) drawImage(f, "wings");
    }
    T(-0.087, -1.276, 0.008);
    drawMeshTarget(f, f.meshTargetA);
}

// Eight muscle figures carrying fish, marching left in quarter steps.
void groupMusclesMarching(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 121 && t < 132)) return;
    for (int i = 0; i < 8; i++) {
        Pushed pair;
        OT(f, 8.74);
        double o = 0.071 * (i % 2);
        T(3.07 - trunc32((t - 121 + 0.2 * i) * 4) * 0.25 * 0.165, -0.52 - o, o + 0.48);
        T(-0.717 * i, 0, 0);
        S(0.14);
        J(f, 77 + i, 0.1);
        {
            Pushed figure;
            T(-0.039, -0.441, -0.039);
            S(1.1);
            J(f, 177 + i, 2);
            drawImage(f, "musclesfront");
        }
        Pushed fish;
        T(0, 0, 0.02);
        drawImage(f, "fish2");
    }
}

// Four sea layers until 141 s, dropping away from 137 s; the digestive
// figure and the old man until 137 s; then two old men and a skull swaying
// and drifting left; from 123 to 137 s a fish dropping in sixth-second
// steps and a tear falling once a second.
void groupSeaAndOldMen(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 121)) return;
    Pushed group;
    if (t < 141) {
        for (int i = 0; i < 4; i++) {
            Pushed layer;
            T(0, 0, 0.2);
            double y = 4 * (t >= 137 ? -0.843 : 0.021 * (t - 134) - 0.867);
            T(0.118, y, 0.05 * i - 1.332);
            double q = 1 + 0.15 * i;
            colour(q, q, q);
            jitter(static_cast<float>(0.5 * t), i, true, 1);
            S(0.2, 0.2, 0.3);
            T(0.3 * std::sin(i + 1.3 * t) - 0.696, (0.244 * ease(0.15 * (t + 1)) - 0.5) * 8 - 0.2 * i,
              0.02 * i + 2.05);
            T(0, 0, 0.02 * t);
            OT(f, 1);
            drawImage(f, i % 2 == 0 ? "sea2" : "sea1");
            white();
        }
    }
    T(-0.26, -0.055, 0.071);
    T(0.165, -1.755, -0.827);
    T(0.122, -0.184, 0.827);
    OT(f, 1);
    S(-1, 1, 1);
    S(1.3);
    J(f, 50, 0.1);
    if (t < 137) {
        drawImage(f, "digestive");
        Pushed man;
        T(-0.008, 1, 0.228);
        drawImage(f, "oldman2");
    }
    if (t >= 137 && t < 145) {
        double w = trunc32(8 * t) * 0.125;
        {
            Pushed man;
            T(0.741, -1.3022, -0.732);
            T(-0.12 * (t - 137), 0, 1);
            T(0, 0.05 * std::sin(3.1 * w), 0);
            R(13 * std::sin(0.5 * 1.74 * w));
            S(0.3);
            J(f, 150, 0.4);
            drawImage(f, "oldman2");
        }
        {
            Pushed man;
            T(0.528, -1.3892, -0.717);
            T(-0.12 * (t - 137) - 0.543, 0, 1);
            T(0, 0.05 * std::sin(4.1 * w), 0);
            R(13 * std::sin(0.5 * 1.54 * w));
            S(0.3);
            J(f, 154, 0.4);
            drawImage(f, "oldman2");
        }
        Pushed skull;
        T(-0.386, 0.087, -0.087);
        T(0.528, -1.3892, -0.717);
        T(-0.06 * (t - 137) - 0.543, 0, 1);
        T(0, 0.05 * std::sin(0.7 * w), 0);
        R(5 * std::sin(1.04 * w));
        S(0.18);
        J(f, 554, 0.4);
        drawImage(f, "skull");
    }
    if (t > 123 && t < 137) {
        {
            Pushed fish;
            T(-0.039, 0.48 - trunc32((t - 130) * 6) / 6.0 * 0.118, 0.197);
            R(90);
            S(0.27);
            OT(f, 3.86);
            drawImage(f, "fish2");
        }
        Pushed tear;
        double u = std::fmod(t + 0.5 - 0.307, 1.0);
        T(-0.039, 0.48 - 0.6 * u, 0.197);
        T(0.165, -1.37, -0.228);
        T(0, 0, 0.24 * ease(2.28 * u - 0.2));
        S(0.08);
        OT(f, 3.86);
        drawImage(f, "tear");
    }
}
