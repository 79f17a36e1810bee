#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "figure.h"
#include "forge.h"
#include "motion.h"

static float signedVolume(const std::vector<float>& xyz, const std::vector<uint32_t>& index) {
    double sum = 0;
    for (size_t t = 0; t < index.size(); t += 3) {
        const float* a = &xyz[index[t] * 3];
        const float* b = &xyz[index[t + 1] * 3];
        const float* c = &xyz[index[t + 2] * 3];
        sum += a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0]);
    }
    return float(sum / 6.0);
}

static Vec3 add3(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

static float gap(Vec3 a, Vec3 b) {
    Vec3 d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

// The rest figure: one body's worth of closed tubes facing outward, 1.7 m
// tall on y = 0, centred, looking toward +z, uvs inside the picture.
TEST(Figure, RestBodyIsAStandingHumanFacingTheCamera) {
    for (const Body& body : {walkerBody(), secondBody()}) {
        FigureMesh mesh = buildFigure(body);
        PosedFigure rest = poseFigure(mesh, restPose());
        size_t nvert = rest.xyz.size() / 3;
        EXPECT_LT(nvert, 65536u);
        float low = 1e9f, high = -1e9f, mx = 0;
        for (size_t v = 0; v < nvert; ++v) {
            low = std::min(low, rest.xyz[v * 3 + 1]);
            high = std::max(high, rest.xyz[v * 3 + 1]);
            mx += rest.xyz[v * 3] / nvert;
        }
        EXPECT_FLOAT_EQ(low, 0.0f);
        EXPECT_NEAR(high, 1700 * body.height, 40);
        EXPECT_NEAR(mx, 0, 1);
        // Litres of a human, every tube counted outward (inward ones would subtract).
        float litres = signedVolume(rest.xyz, mesh.index) * 1e-6f;
        EXPECT_GT(litres, 45);
        EXPECT_LT(litres, 110);
        EXPECT_GT(rest.joints[L_TOE].z, rest.joints[L_ANKLE].z + 100);  // feet point at the camera
        EXPECT_GT(rest.joints[L_HAND].x, 150);                            // the left hand on +x
        for (float t : mesh.uv) {
            EXPECT_GE(t, 0.0f);
            EXPECT_LE(t, 1.0f);
        }
    }
}

TEST(Motion, WalkStridesAndLoopsOverItsHundredAndSixtyFrames) {
    FigureMesh mesh = buildFigure(walkerBody());
    float reach = 0;
    for (int n = 4502; n < 4662; ++n) {
        PosedFigure f = captureFrame(mesh, CAPTURE_WALKING, n);
        reach = std::max(reach, f.joints[L_ANKLE].z - f.joints[R_ANKLE].z);
        EXPECT_LT(std::fabs(f.joints[PELVIS].x), 30);  // in place: the scenes carry it across
        EXPECT_LT(std::fabs(f.joints[PELVIS].z), 80);
    }
    EXPECT_GT(reach, 300);  // a real stride, feet a foot apart and more
    PosedFigure first = captureFrame(mesh, CAPTURE_WALKING, 4502), after = captureFrame(mesh, CAPTURE_WALKING, 4662);
    for (size_t k = 0; k < first.xyz.size(); ++k) ASSERT_NEAR(first.xyz[k], after.xyz[k], 0.5f);
}

TEST(Motion, TakesReadAsHangingStumblingAndReaching) {
    FigureMesh walker = buildFigure(walkerBody()), second = buildFigure(secondBody());
    for (int n = 4800; n < 4810; ++n) {
        PosedFigure f = captureFrame(walker, CAPTURE_WALKING, n);
        EXPECT_GT(f.joints[L_WRIST].y, f.joints[HEAD].y + 300);  // hands up, hanging from them
        EXPECT_LT(gap(f.joints[L_WRIST], f.joints[R_WRIST]), 200);  // both on one rope
    }
    // The stumble brings the right palm to where the scenes draw the thorn
    // at file 820, the left hand at the head.
    PosedFigure holding = captureFrame(walker, CAPTURE_WALKING, 820);
    Vec3 palm = rightPalm(holding);
    EXPECT_NEAR(palm.x, -76, 1);
    EXPECT_NEAR(palm.y, 1694, 60);
    EXPECT_NEAR(palm.z, -197, 1);
    EXPECT_GT(holding.joints[L_WRIST].y, holding.joints[CHEST].y);
    PosedFigure start = captureFrame(walker, CAPTURE_WALKING, 800), buckled = captureFrame(walker, CAPTURE_WALKING, 812);
    EXPECT_LT(buckled.joints[HEAD].y, start.joints[HEAD].y - 60);  // the knees give first

    float lowest = 1e9f, highest = -1e9f;
    for (int n = 300; n <= 376; n += 4) {
        float hand = captureFrame(second, CAPTURE_SECOND, n).joints[R_WRIST].y;
        lowest = std::min(lowest, hand);
        highest = std::max(highest, hand);
    }
    EXPECT_GT(highest - lowest, 500);  // the reach
    EXPECT_NE(captureFrame(walker, CAPTURE_WALKING, 4208).xyz, captureFrame(walker, CAPTURE_WALKING, 4209).xyz);
}

// The farthest point of a hand's fingers from its wrist.
static float fingerReach(const FigureMesh& mesh, const PosedFigure& f, Joint hand, Joint wrist) {
    float reach = 0;
    for (size_t v = 0; v < mesh.jointA.size(); ++v)
        if (mesh.jointB[v] == hand)
            reach = std::max(reach, gap({f.xyz[v * 3], f.xyz[v * 3 + 1], f.xyz[v * 3 + 2]}, f.joints[wrist]));
    return reach;
}

// Hands with fingers that bend at the knuckles: a hand's length from wrist
// to finger tips at rest and flung open in the fall, closed into fists on
// the rope.
TEST(Motion, HandsCloseOnTheRopeAndOpenInTheFall) {
    FigureMesh mesh = buildFigure(walkerBody());
    PosedFigure rest = poseFigure(mesh, restPose());
    PosedFigure hanging = captureFrame(mesh, CAPTURE_WALKING, 4803), falling = captureFrame(mesh, CAPTURE_WALKING, 4208);
    for (auto [hand, wrist] : {std::pair{L_HAND, L_WRIST}, {R_HAND, R_WRIST}}) {
        EXPECT_GT(fingerReach(mesh, rest, hand, wrist), 160);
        EXPECT_LT(fingerReach(mesh, rest, hand, wrist), 200);
        EXPECT_GT(fingerReach(mesh, falling, hand, wrist), 160);
        EXPECT_LT(fingerReach(mesh, hanging, hand, wrist), 130);
    }
}

// A swing, not a shiver: the fists stay on the rope while the feet travel
// and the body turns, so the frames the scenes show (every second one)
// differ plainly.
TEST(Motion, HangingBodySwingsFromFistsThatStayOnTheRope) {
    FigureMesh mesh = buildFigure(walkerBody());
    auto fists = [](const PosedFigure& f) {
        return Vec3{(f.joints[L_HAND].x + f.joints[R_HAND].x) / 2, 0, (f.joints[L_HAND].z + f.joints[R_HAND].z) / 2};
    };
    Vec3 rope = fists(captureFrame(mesh, CAPTURE_WALKING, 4800));
    float feetSpan = 0, turnLow = 1e9f, turnHigh = -1e9f;
    std::vector<Vec3> feet;
    for (int n = 4800; n < 4810; ++n) {
        PosedFigure f = captureFrame(mesh, CAPTURE_WALKING, n);
        EXPECT_LT(gap(fists(f), rope), 2) << n;
        feet.push_back({(f.joints[L_TOE].x + f.joints[R_TOE].x) / 2, 0, (f.joints[L_TOE].z + f.joints[R_TOE].z) / 2});
        Vec3 shoulders = f.joints[L_SHOULDER] - f.joints[R_SHOULDER];
        float turn = std::atan2(shoulders.z, shoulders.x) * 57.29578f;
        turnLow = std::min(turnLow, turn);
        turnHigh = std::max(turnHigh, turn);
    }
    for (Vec3 a : feet)
        for (Vec3 b : feet) feetSpan = std::max(feetSpan, gap(a, b));
    EXPECT_GT(feetSpan, 300);
    EXPECT_GT(turnHigh - turnLow, 30);
}

// Every frame bends the body at its joints and nowhere else: the stretch of
// a bone (every edge between two points riding one joint alone) keeps its
// length, and the skin over a bend folds in and stretches over it no more
// than skin does, never torn open or pinched to a point.
TEST(Motion, BonesStayRigidAndTheSkinBendsOverTheJoints) {
    auto point = [](const std::vector<float>& xyz, uint32_t v) { return Vec3{xyz[v * 3], xyz[v * 3 + 1], xyz[v * 3 + 2]}; };
    for (Capture capture : {CAPTURE_WALKING, CAPTURE_SECOND}) {
        FigureMesh mesh = buildFigure(capture == CAPTURE_WALKING ? walkerBody() : secondBody());
        for (const ForgeFile& file : forgeFileList()) {
            if (file.capture != capture) continue;
            PosedFigure f = captureFrame(mesh, capture, file.number);
            float boneShort = 1e9f, boneLong = 0, skinShort = 1e9f, skinLong = 0;
            for (size_t t = 0; t < mesh.index.size(); ++t) {
                uint32_t a = mesh.index[t], b = mesh.index[t % 3 == 2 ? t - 2 : t + 1];
                float restLength = gap(point(mesh.rest, a), point(mesh.rest, b));
                if (restLength < 1) continue;
                float ratio = gap(point(f.xyz, a), point(f.xyz, b)) / restLength;
                bool bone = mesh.jointA[a] == mesh.jointB[a] && mesh.jointA[b] == mesh.jointB[b] &&
                            mesh.jointA[a] == mesh.jointA[b];
                (bone ? boneShort : skinShort) = std::min(bone ? boneShort : skinShort, ratio);
                (bone ? boneLong : skinLong) = std::max(bone ? boneLong : skinLong, ratio);
            }
            EXPECT_GT(boneShort, 0.99f) << file.number;
            EXPECT_LT(boneLong, 1.01f) << file.number;
            EXPECT_GT(skinShort, 0.2f) << file.number;
            EXPECT_LT(skinLong, 1.8f) << file.number;
        }
    }
}

// An arm or a leg is one surface from its root to the wrist or ankle: no
// loose end of a piece shows at an elbow or a knee, where it would print as
// a ball. Every point within a limb's length of the elbow or knee lies on
// the same connected piece of mesh as the shoulder or hip above it.
TEST(Figure, ElbowsAndKneesAreNotBallJoints) {
    FigureMesh mesh = buildFigure(walkerBody());
    size_t n = mesh.rest.size() / 3;
    std::vector<uint32_t> piece(n);
    for (uint32_t v = 0; v < n; ++v) piece[v] = v;
    auto root = [&](uint32_t v) {
        while (piece[v] != v) v = piece[v] = piece[piece[v]];
        return v;
    };
    for (size_t t = 0; t < mesh.index.size(); t += 3)
        for (int e = 0; e < 2; ++e) piece[root(mesh.index[t + e])] = root(mesh.index[t + e + 1]);
    auto nearest = [&](Vec3 at) {
        uint32_t best = 0;
        float bestGap = 1e9f;
        for (uint32_t v = 0; v < n; ++v) {
            float d = gap({mesh.rest[v * 3], mesh.rest[v * 3 + 1], mesh.rest[v * 3 + 2]}, at);
            if (d < bestGap) {
                bestGap = d;
                best = v;
            }
        }
        return best;
    };
    const Joint chains[4][3] = {{L_SHOULDER, L_ELBOW, L_WRIST}, {R_SHOULDER, R_ELBOW, R_WRIST}, {L_HIP, L_KNEE, L_ANKLE},
                                {R_HIP, R_KNEE, R_ANKLE}};
    for (const auto& chain : chains) {
        Vec3 top = mesh.restJoints[chain[0]], middle = mesh.restJoints[chain[1]], end = mesh.restJoints[chain[2]];
        // Points on the surface around the middle joint, and well above and below it.
        uint32_t above = nearest(add3(top, (middle - top) * 0.5f)), below = nearest(add3(middle, (end - middle) * 0.5f));
        EXPECT_EQ(root(above), root(below)) << "joint " << chain[1];
        for (uint32_t v = 0; v < n; ++v) {
            Vec3 p = {mesh.rest[v * 3], mesh.rest[v * 3 + 1], mesh.rest[v * 3 + 2]};
            if (gap(p, middle) < 60) {
                ASSERT_EQ(root(v), root(above)) << "joint " << chain[1] << " vertex " << v;
            }
        }
    }
}
