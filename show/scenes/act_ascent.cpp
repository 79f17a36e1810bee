// The ascent, 209 s to the end: clouds, stars and planets, the ribcage
// figures with breathing curls, balloon, moon and sun, the chain, the black
// at 241 s clearing to the end.
#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "assets/draw_trace.h"
#include "platform/crt_rand.h"
#include "show/effects/chain.h"
#include "show/effects/curls.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

// Where element `index` of a drifting depth field stands, from four values of
// its own (seed, skip): across, up (height * r + lift), and a depth that
// drifts towards the eye in twelfth steps until 225 s and then holds. The
// field wraps every 8 units of depth and darkens towards its far end.
struct FieldPlace {
    double x, y, z;
    double brightness;
};

static FieldPlace fieldPlace(double t, unsigned seed, int skip, double height, double lift) {
    fixedLayout(seed, skip);
    double r1 = rnd();
    double r2 = rnd();
    double r3 = rnd();
    FieldPlace p = {3 * r3 - 1.5, height * r2, 2 * r1 - 1, 0};
    p.y += lift;
    double r4 = rnd();
    double z = p.z + (t < 225 ? trunc32(12 * t * (r4 + 1)) / 12.0 : trunc32(2700 * (r4 + 1)) / 12.0);
    double w = std::fmod(z, 8);
    p.z = w - 4;
    p.brightness = ease(w / 4);
    return p;
}

// 33 clouds; they rise from 249 s and stop shaking at 225 s.
static void cloudField(SceneFrame& f, unsigned seed, double lift, int jitterBase) {
    double t = f.t;
    for (int i = 0; i < 33; i++) {
        Pushed cloud;
        FieldPlace p = fieldPlace(t, seed, 30 * i + 1000, 1.5, lift);
        if (t >= 249) T(0, 0.05 * (t - 249), 0);
        T(-0.15, 0.118, -0.921);
        T(p.x, p.y, p.z);
        colour(p.brightness, p.brightness, p.brightness);
        OT(f, 2);
        S(0.28612);
        if (t < 225) JAt(0.5 * t, jitterBase + i, 1);
        drawImage(f, ("cloud" + std::to_string(i % 4 + 1)).c_str());
    }
}

// The stars of the climb (33 until 225 s), or from 225 s the 73 of the
// higher sky, which keep shaking. Each turned 134 degrees past the last.
static void starField(SceneFrame& f, bool higher) {
    double t = f.t;
    int count = higher ? 73 : 33;
    for (int i = 0; i < count; i++) {
        Pushed star;
        FieldPlace p = fieldPlace(t, 5234, 30 * i + 1004, higher ? 4.5 : 1.5, -2.103);
        if (higher) T(0, 2, -1);
        T(0, 2.196, 0);
        T(p.x, p.y, p.z);
        colour(p.brightness, p.brightness, p.brightness);
        OT(f, 2);
        S(0.03795);
        if (higher || t < 225) JAt(0.5 * t, 4624 + i, 3);
        R(134.0 * i);
        drawImage(f, "star");
    }
}

// 241 to 249 s: 243 stars of seed 5234; those off the centre line drift up,
// each at its own pace; the centre stays clear.
static void burstingStars(SceneFrame& f) {
    double t = f.t;
    for (int i = 0; i < 243; i++) {
        Pushed star;
        fixedLayout(5234, 30 * i + 2004);
        T(0.543, -2.895, 6.118);
        double r1 = rnd();
        double r2 = rnd();
        double r3 = rnd();
        double x = 2 * r3 - 1, y = 1.5 * r2, z = 0.2 * r1 - 0.1;
        if (std::fabs(x) < 0.26) continue;
        y += (t - 241) * (0.1 * rnd() + 0.3) * 0.5;
        T(0, 2.196, 0);
        T(x, y, z);
        white();
        OT(f, 2);
        S((0.2 * rnd() + 0.13) * 0.3 * 0.115);
        JAt(0.5 * t, 4624 + i, 8);
        R(134.0 * i);
        drawImage(f, "star");
    }
}

// From 241 s three cloud banks before the camera, the outer two dark; the
// middle one lets the figure of mesh target A show through its thin parts.
// They sink until 249 s, then hold with another picture.
static void backClouds(SceneFrame& f) {
    double t = f.t;
    double cx = f.cameraOffset.x, cy = f.cameraOffset.y, cz = f.cameraOffset.z;
    for (int j = -1; j <= 1; j++) {
        Pushed cloud;
        T(0, 0, -4);
        if (t < 249)
            T(cx + 0.921 * j, cy - 0.031 * (t - 241) + 0.067, cz + 2.928);
        else
            T(cx + 0.921 * j, cy + 0.067 - 0.071, 8.88);
        white();
        OT(f, 20);
        S(0.7);
        if (j != 0) {
            colour(0, 0, 0);
            OT(f, 1);
        }
        f.sprite.clipProgram.use();
        f.sprite.clipProgram.setTexture(13, "TextureSeeThrough", f.meshTargetA.colourTextures[0]);
        glMatrixMode(GL_MODELVIEW);  // setTexture leaves the texture matrix selected
        drawImage(f, t < 249 ? "backcloud3" : "backcloud4");
    }
    white();
}

// From 225 s: 13 planets of seed 12234 high above.
static void planets(SceneFrame& f) {
    for (int i = 0; i < 13; i++) {
        Pushed planet;
        T(0, 4.29, -4.072);
        fixedLayout(12234, 30 * i + 1004);
        discard(1);  // its first value places nothing
        double r2 = rnd();
        double r3 = rnd();
        double x = 10 * r3 - 5, y = 8 * r2 - 2.103;
        discard(1);
        T(0, 2.196, 0);
        T(x, y, 0);
        white();
        OT(f, 1.5);
        S((1.5 * rnd() + 0.65) * 1.3 * 0.115);
        J(f, 4624 + i, 2.5);
        R(134.0 * i);
        drawImage(f, ("planet" + std::to_string(i % 4 + 1)).c_str());
    }
}

// Two ribcage figures, the second mirrored, climbing out of the dark until
// 225 s, each with its six breathing lines from 212 s.
static void ribcageFigures(SceneFrame& f) {
    double t = f.t;
    for (int j = 0; j < 2; j++) {
        Pushed figure;
        if (j == 1) {
            T(0.192, -0.89, -0.228);
            S(-1, 1, 1);
        }
        {
            Pushed body;
            if (t < 225)
                T(2.952, -1.299, 0.2 * (t - 211) - 3.45);
            else
                T(2.952, -1.299, -0.65);
            T(-0.15, 0.118, -0.921);
            double g = t <= 225 ? 0.15 * (t - 211) : 1.0;  // the colour saturates above 1
            colour(g, g, g);
            OT(f, 2);
            S(6.5);
            S(0.28612);
            JAt(0.5 * t, 1624, 0.1);
            {
                Pushed skull;
                T(0.134, 1.488, 0.024);
                S(0.6);
                drawImage(f, "skull");
            }
            Pushed ribs;
            drawImage(f, "ribcageb");
            Pushed front;
            T(0, 0, 0.0213);
            drawImage(f, "ribcagef");
        }
        Pushed lines;
        double u = t < 225 ? t : 225.0;
        T(2.34, -3.072, 0.2 * (u - 211) - 4.357);
        double growth = std::max(0.0, trunc32((t - 212) * 800) / 800.0 * 1.2);
        ShaderProgram::unuse();
        S(2);
        drawCurlPair(f.t, growth, j);
    }
}

// The balloon swaying in 1/16 steps, rising from 225 s and moved far down
// at 241 s; the moon strip and the sun behind it.
static void balloonMoonAndSun(SceneFrame& f) {
    double t = f.t;
    int w = trunc32(16 * t);
    {
        Pushed balloon;
        double a = 0.6 * std::sin(0.72 * 0.0625 * w) - 0.622;
        if (t >= 241) {
            a *= 0.3;
            T(-0.3, -5.232, -0.261);
        }
        double x = ease((t - 222) * 0.4) + a;
        double y = 0.2 * std::sin(0.95 * 0.0625 * w) - 0.591;
        double z = 0.433 * 5 * ease(0.5 * (t - 230)) + 0.15 * std::sin(0.594 * 0.0625 * w);
        T(x, y, z - 0.6);
        S(0.35);
        white();
        if (t >= 225) T(0, 0.921 * (t - 225), 0);
        J(f, 1554, 1.2);
        OT(f, 1);
        drawImage(f, "balloon2");
    }
    {
        Pushed moon;
        T(0, 0, -4);
        T(-0.3, -0.456, -0.536);
        white();
        OT(f, 3);
        S(3);
        drawImage(f, "moona");
    }
    Pushed sun;
    T(0.496, 3.592, 0.426);
    T(0, 0, -4);
    T(-0.3, 1.544, -1.536);
    white();
    OT(f, 10);
    S(3);
    drawImage(f, "golg");
}

// Seven braids stacked in depth; sin(q) bends them, raised to `power` where
// it is positive.
static void braids(const SceneFrame& f, double q, double power) {
    for (int j = 0; j < 7; j++) {
        Pushed braid;
        ShaderProgram::unuse();
        T(0, 0.05 * j, -0.1 * j);
        double v = std::sin(q);
        if (v > 0) v = std::pow(v, power);
        drawBraid(f.t, 45 * v, q - 0.09 * j, 60, f.k[0]);
    }
}

// The chain, 225 to 237.7 s, on a clock of 1/24 steps: seven link pairs and
// a single pair, braids and waves beside them, mirrored braids to the left,
// all wandering on slow sines and sinking away from 234 s. On a replayed
// stretch it climbs with the camera.
static void drawChain(SceneFrame& f) {
    double t = f.t;
    double s = trunc32(24 * t) / 24.0 - 0.087;
    setChainScroll(trunc32(8 * s) * 0.125);
    ShaderProgram::unuse();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, f.pattern3Texture);
    Pushed chain;
    T(0.684, -1.299, 2);
    T(0, 4, -3);
    T(-0.5, 0, 0);
    int m = trunc32(16 * s);
    double X = 1.4 * std::sin(1.093274016 * 0.0625 * m) + 1;
    double turn = std::sin(0.55 * X);
    double Y = 0.4 * std::sin(0.56548656 * 0.0625 * m) - (0.5 - 0.134 * (s - 225)) - 5 * ease((s - 234.2) * 0.3);
    if (f.timeFlag == 1) Y += 0.228 * (t - 233);
    double Z = 1 - ease(s - 229) + 5 * 0.559 * ease((s - 234.5) * 0.25) + 0.2 * std::sin(0.9424776 * 0.0625 * m);
    T(X, Y, Z);
    R(40 * turn);
    T(0.5, 0, 0);
    S(1.4);

    int links = 0;
    for (int j = 0; j < 7; j++) {
        Pushed pair;
        T(0, 0.035 * j, -0.1 * j);
        for (double length : {-0.472, 0.0}) {
            Pushed link;
            Vec3 at = {0, 0, 0}, along = {1, 0, 0};
            T(0, 0, 0.05);
            S(1.5);
            drawChainLink(f.t, length, 0, at, along, links);
        }
    }
    for (double x : {-0.686, 0.0}) {
        Pushed link;
        Vec3 at = {0, 0, 0}, along = {1, 0, 0};
        T(x, 0, 0.09);
        S(1.7);
        drawChainLink(f.t, 0, 0, at, along, links);
    }

    double q = s * 0.7853975 * 4;
    {
        Pushed braided;
        fixedLayout(32434, 21000);
        braids(f, q, 1);
        for (int j = 1; j <= 5; j += 2) {
            double a = 0.42 * (20 * std::sin(j + 2 * 0.7853975 * s) + 50);
            {
                Pushed wave;
                ShaderProgram::unuse();
                T(0, 0.05 * j, -0.1 * j);
                S(0.75);
                drawWave(f.t, a);
            }
            Pushed wave;
            ShaderProgram::unuse();
            T(-0.775, 0.05 * j, -0.1 * j);
            S(-0.75, 0.75, 0.75);
            drawWave(f.t, a);
        }
    }
    Pushed mirrored;
    T(-0.8, 0, 0);
    crtSrand(33434);
    S(-1, 1, 1);
    discard(20000);
    braids(f, q, 1.3);
}

void groupAscent(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 209)) return;
    cloudField(f, 4234, 0.639, 624);
    cloudField(f, 6234, -2.103, 1624);
    starField(f, false);
    if (t >= 241 && t < 249) burstingStars(f);
    if (t >= 241) backClouds(f);
    if (t >= 225) {
        starField(f, true);
        planets(f);
    }
    ribcageFigures(f);
    balloonMoonAndSun(f);
    if (t >= 225 && t < 237.7) drawChain(f);
}

// At 241 s a black veil over everything drawn so far, which clears from its
// lower edge (241 to 243 s) to its upper edge (243.5 to 245.5 s).
void groupFade(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 241)) return;
    ShaderProgram::unuse();
    // Plain black: the last cut-out left texturing on, and a texel's alpha
    // would thin the veil.
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    {
        Pushed veil;
        T(0, 0, 4);
        double low = 1 - ease(0.5 * (t - 241)), high = 1 - ease(0.5 * (t - 243.5));
        if (drawTrace) traceDraw("fade", "", {{"alphaLow", low}, {"alphaHigh", high}});
        glBegin(GL_QUADS);
        glColor4f(0, 0, 0, static_cast<float>(low));
        glVertex3f(-6, -2, 0);
        glVertex3f(6, -2, 0);
        glColor4f(0, 0, 0, static_cast<float>(high));
        glVertex3f(6, 2, 0);
        glVertex3f(-6, 2, 0);
        glEnd();
    }
    glDisable(GL_BLEND);
}
