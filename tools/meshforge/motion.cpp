#include "motion.h"

#include <algorithm>
#include <cmath>

static const float PI = 3.14159265f;

static float bump(float u, float centre, float width) {
    float d = (u - centre) / width;
    return std::exp(-d * d);
}
static float smooth(float e0, float e1, float x) {
    float t = std::min(1.0f, std::max(0.0f, (x - e0) / (e1 - e0)));
    return t * t * (3 - 2 * t);
}
static void set(Pose& p, Joint j, float x, float y, float z) { p.rotation[j] = {x, y, z}; }

// Fingers bent toward the palms by these angles (degrees) at the knuckles.
static void curl(Pose& p, float left, float right) {
    set(p, L_HAND, 0, 0, -left);
    set(p, R_HAND, 0, 0, right);
}

// Ankle angle that keeps a sole level with the floor, whatever the pelvis,
// hip and knee do above it (the x rotations add up along the leg).
static float levelAnkle(const Pose& p, Joint hip, Joint knee) {
    return -(p.rotation[PELVIS].x + p.rotation[hip].x + p.rotation[knee].x);
}

// Six strides in 160 frames: the take loops without a jump.
static Pose walking(int n) {
    Pose p = restPose();
    float stride = 160.0f / 6.0f;
    float phase = 2 * PI * float(n - 4502) / stride;
    set(p, PELVIS, 3, -5 * std::sin(phase), 2.5f * std::cos(phase));
    set(p, SPINE, 3, 3 * std::sin(phase), -1.5f * std::cos(phase));
    set(p, CHEST, 1, 5 * std::sin(phase), 0);
    set(p, NECK, 2, -3 * std::sin(phase), 0);
    set(p, HEAD, 3, 0, 0);
    for (int side = 0; side < 2; ++side) {
        float a = phase + side * PI;  // the right side half a stride later
        int l = side ? R_HIP - L_HIP : 0, o = side ? R_SHOULDER - L_SHOULDER : 0;
        Joint hip = Joint(L_HIP + l), knee = Joint(L_KNEE + l), ankle = Joint(L_ANKLE + l);
        float hipFlex = 22 * std::sin(a) + 3;
        float kneeBend = 5 + 60 * std::pow(std::max(0.0f, std::cos(a + 0.35f)), 2.5f) +
                         12 * std::pow(std::max(0.0f, std::sin(a - 0.3f)), 4.0f);
        set(p, hip, -hipFlex, side ? 4.0f : -4.0f, 0);
        set(p, knee, kneeBend, 0, 0);
        // Level while the foot carries weight, toe lifted in the swing, a
        // push from the toes as the leg leaves the floor behind.
        float stance = smooth(-0.15f, 0.3f, -std::cos(a));
        float pushOff = 18 * bump(std::remainder(a + 0.5f * PI + 0.35f, 2 * PI), 0, 0.45f);
        set(p, ankle, stance * levelAnkle(p, hip, knee) + (1 - stance) * -6 + pushOff, 0, 0);

        Joint shoulder = Joint(L_SHOULDER + o), elbow = Joint(L_ELBOW + o);
        float sign = side ? -1.0f : 1.0f;
        set(p, shoulder, 18 * std::sin(a), 0, sign * 4);
        set(p, elbow, -(14 + 18 * (0.5f - 0.5f * std::sin(a))), 0, 0);
        set(p, Joint(L_WRIST + o), 0, 0, sign * -4);
    }
    curl(p, 22 + 6 * std::sin(phase), 22 - 6 * std::sin(phase));
    return p;
}

// Hanging from both fists, close together over the head. The pose is what
// the body does on the rope: legs trailing the swing, the head turning; the
// swing and the turn of the rope itself come in `captureFrame`. Ten frames,
// one sway.
static Pose hanging(int n) {
    Pose p = restPose();
    float w = 2 * PI * float(n - 4800) / 10.0f, s = std::sin(w), c = std::cos(w), lag = std::sin(w - 1.1f);
    set(p, PELVIS, 4 * c, 0, 3 * lag);
    set(p, SPINE, -3 - 3 * c, 0, -3 * lag);
    set(p, CHEST, -4, 0, -2 * lag);
    set(p, NECK, 14 - 4 * c, 14 * s, 4 * s);
    set(p, HEAD, 10, 6 * s, 2);
    // Arms raised forward and in, so the palms face each other round the rope.
    set(p, L_SHOULDER, -172, 0, 15 + 2 * lag);
    set(p, R_SHOULDER, -172, 0, -15 + 2 * lag);
    set(p, L_ELBOW, -10, 0, 0);
    set(p, R_ELBOW, -12, 0, 0);
    curl(p, 95, 95);  // fists
    // The legs trail the swing and pedal a little against it.
    set(p, L_HIP, -10 - 14 * lag, -6, 3 + 4 * lag);
    set(p, R_HIP, -4 + 12 * lag, 6, -3 + 4 * lag);
    set(p, L_KNEE, 22 + 18 * std::max(0.0f, lag), 0, 0);
    set(p, R_KNEE, 12 + 16 * std::max(0.0f, -lag), 0, 0);
    set(p, L_ANKLE, 40, 0, 0);
    set(p, R_ANKLE, 34, 0, 0);
    return p;
}

// Thrown back in a fall: arms flung up, one knee drawn up, head back.
static Pose falling(int n) {
    Pose p = restPose();
    float d = float(n - 4208) * 2;
    set(p, PELVIS, -6, 10, 4);
    set(p, SPINE, -8, 4, 2);
    set(p, CHEST, -8 - d, 6, 3);
    set(p, NECK, -14, 8, 0);
    set(p, HEAD, -8 - d, 0, 5);
    set(p, L_SHOULDER, -35, 0, 128 + d);
    set(p, R_SHOULDER, -20, 0, -142 - d);
    set(p, L_ELBOW, -38, 0, 0);
    set(p, R_ELBOW, -22, 0, 0);
    set(p, L_WRIST, -10, 0, 0);
    set(p, L_HIP, -58 - d, -8, 6);
    set(p, L_KNEE, 88, 0, 0);
    set(p, R_HIP, 14, 4, -3);
    set(p, R_KNEE, 28 + d, 0, 0);
    set(p, L_ANKLE, 22, 0, 0);
    set(p, R_ANKLE, levelAnkle(p, R_HIP, R_KNEE), 0, 0);
    curl(p, 8 + 10 * d, 12);  // flung open
    return p;
}

// A stumble backwards: the knees give, the body twists away, the left hand
// goes to the head while the right holds up the thorn (the scenes place it
// at the right palm of file 820), then both drop again.
static Pose stumbling(int n) {
    Pose p = restPose();
    float u = float(n - 800) / 40.0f;
    float buckle = bump(u, 0.3f, 0.13f), lean = bump(u, 0.45f, 0.2f);
    float hands = smooth(0.22f, 0.45f, u) * (1 - smooth(0.62f, 0.85f, u));
    float twist = -22 + 48 * std::sin(PI * u);
    set(p, PELVIS, 8 * buckle, twist, 4 * std::sin(2 * PI * u));
    set(p, SPINE, -10 * lean, 10 * std::sin(2 * PI * u), -3 * buckle);
    set(p, CHEST, -8 * lean, 12 * std::sin(2 * PI * u + 0.6f), 2);
    set(p, NECK, -8 * hands + 10 * buckle, -10 * std::sin(2 * PI * u), 6 * buckle);
    set(p, HEAD, -6 * hands, -12 * hands, 0);

    set(p, L_HIP, -(6 + 42 * buckle) + 22 * bump(u, 0.14f, 0.08f), -6, 5);
    set(p, L_KNEE, 8 + 64 * buckle, 0, 0);
    set(p, R_HIP, -(4 + 34 * bump(u, 0.32f, 0.12f)) - 26 * bump(u, 0.78f, 0.1f), 6, -4);
    set(p, R_KNEE, 8 + 52 * bump(u, 0.32f, 0.12f) + 30 * bump(u, 0.78f, 0.1f), 0, 0);
    set(p, L_ANKLE, levelAnkle(p, L_HIP, L_KNEE), 0, 0);
    set(p, R_ANKLE, levelAnkle(p, R_HIP, R_KNEE), 0, 0);

    float flail = bump(u, 0.12f, 0.08f);
    set(p, L_SHOULDER, -(20 + 118 * hands), 0, 22 + 10 * hands + 45 * flail);
    set(p, R_SHOULDER, -(15 + 80 * hands), 0, -(24 - 14 * hands + 30 * flail));
    set(p, L_ELBOW, -(18 + 108 * hands), 0, 0);
    set(p, R_ELBOW, -(22 + 78 * hands), 0, 0);
    set(p, L_WRIST, -20 * hands, 0, 0);
    set(p, R_WRIST, -20 * hands, 0, 0);
    curl(p, 20 + 35 * hands, 20 + 30 * hands);  // clutching the head, holding the thorn
    return p;
}

// Standing on the left leg, turning from side to side and reaching up with
// the right hand, once every 80 capture frames.
static Pose reaching(int n) {
    Pose p = restPose();
    float w = 2 * PI * float(n - 300) / 80.0f, s = std::sin(w), r = 0.5f - 0.5f * std::cos(w);
    set(p, PELVIS, 2, 32 * s, 4 - 3 * r);
    set(p, SPINE, -2 * r, 8 * s, -3 + 2 * r);
    set(p, CHEST, -4 * r, 10 * s, -2 + 3 * r);
    set(p, NECK, -14 * r, 14 * s, 0);
    set(p, HEAD, -4 * r, 6 * s, 0);
    set(p, R_SHOULDER, -(28 + 104 * r), 0, -14 + 38 * r);  // forward, then up and a little out
    set(p, R_ELBOW, -(48 - 22 * r), 0, 0);  // a bend kept at full stretch
    set(p, R_WRIST, -12 * r, 0, 0);
    set(p, L_SHOULDER, 8 * s, 0, 10);
    set(p, L_ELBOW, -26, 0, 0);
    set(p, L_WRIST, 0, 0, -8);
    set(p, L_HIP, -3, -4, 2);
    set(p, L_KNEE, 3, 0, 0);
    set(p, R_HIP, -(12 - 6 * r), 10, -4);
    set(p, R_KNEE, 18 - 8 * r, 0, 0);
    set(p, L_ANKLE, levelAnkle(p, L_HIP, L_KNEE), 0, 0);
    set(p, R_ANKLE, levelAnkle(p, R_HIP, R_KNEE) + 10, 0, 0);
    curl(p, 28, 30 - 24 * r);  // the reaching hand opens
    return p;
}

Pose capturePose(Capture capture, int n) {
    if (capture == CAPTURE_SECOND) return reaching(n);
    if (n >= 4800 && n < 4810) return hanging(n);
    if (n >= 4208 && n < 4210) return falling(n);
    if (n >= 800 && n < 840) return stumbling(n);
    return walking(n);
}

static Vec3 fists(const PosedFigure& f) {
    const Vec3 &a = f.joints[L_HAND], &b = f.joints[R_HAND];
    return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
}

Vec3 rightPalm(const PosedFigure& f) {
    const Vec3 &a = f.joints[R_WRIST], &b = f.joints[R_HAND];
    return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
}

PosedFigure captureFrame(const FigureMesh& mesh, Capture capture, int n) {
    PosedFigure f = poseFigure(mesh, capturePose(capture, n));
    if (capture == CAPTURE_WALKING && n >= 4800 && n < 4810) {
        // The whole body swings from the fists, a little ellipse, while the
        // rope turns it to and fro; the fists stay where the rope holds them
        // in the take's first frame.
        float w = 2 * PI * float(n - 4800) / 10.0f;
        Vec3 grip = fists(f), rope = fists(poseFigure(mesh, capturePose(capture, 4800)));
        Mat4 swing = Mat4::fromEuler(5 * std::cos(w), 24 * std::sin(w + 0.6f), 7 * std::sin(w));
        moveFigure(f, Mat4::translation({rope.x, grip.y, rope.z}) * swing * Mat4::translation(grip * -1.0f));
    }
    if (capture == CAPTURE_WALKING && n >= 800 && n < 840) {
        // Carried back 0.2 m, so that at file 820 the right palm is where the
        // scenes draw the thorn.
        float w = std::sin(PI * float(n - 800) / 40.0f);
        w *= w;
        Vec3 palm = rightPalm(f);
        moveFigure(f, Mat4::translation({w * (-76 - palm.x), 0, w * (-197 - palm.z)}));
    }
    return f;
}
