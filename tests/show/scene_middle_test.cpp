// The scenes from 73 to 169 s through the draw trace: the edges the notes
// call out, matrices of several groups worked out by hand (one on a replayed
// stretch), the "OtherFlow" values the groups set, and mesh target B keeping
// its picture after 160 s.
#include "tests/show/scene_test_kit.h"

using namespace scene_test;

namespace {

class SceneMiddle : public SceneTest {};

std::vector<float> flows(const DrawTrace& trace, int group) {
    std::vector<float> values;
    for (const UniformSet& set : trace.uniforms)
        if (set.group == group && set.name == "OtherFlow") values.push_back(set.value);
    return values;
}

// The forest's slot seeds.
unsigned treeSeed(int i) { return static_cast<unsigned>(-21224 + 4243 * (i + 6)); }

// The forest floor: b, then c.
M4 forestBase() {
    double b = rnd(), c = rnd();
    return T(0.6 * c - 0.48, 0.1 - 0.2 * b - 1 - 1.866 + 0.05, 0.118);
}

void skip(int n) {
    for (int i = 0; i < n; i++) crtRand();
}

}  // namespace

TEST_F(SceneMiddle, EdgesOfTheMiddleActs) {
    // The forest: 25 slots, the four with a negative remainder empty.
    std::vector<DrawCall> forest = only(at(100), 38);
    ASSERT_EQ(forest.size(), 21u);
    EXPECT_EQ(forest[0].name, "tree1");  // i = -6
    EXPECT_EQ(forest[1].name, "tree1");  // i = -3
    EXPECT_EQ(forest[2].name, "tree1");  // i = 0
    EXPECT_EQ(forest[3].name, "tree2");
    EXPECT_EQ(forest[1].color[0], 0.0f);  // odd negative slot: parity -1, dark
    EXPECT_EQ(forest[3].color[0], 1.0f);  // i = 1

    // The saw: the parade's look until 121 s, the figures' from 121 s, sinking.
    DrawCall sawBefore = only(at(120.999f), 47).at(0), sawAt = only(at(121), 47).at(0);
    EXPECT_EQ(sawBefore.ot, 3.0f);
    EXPECT_EQ(sawAt.ot, 10.0f);
    M4 saw = view(121, 0) * T(0, 16 / 64.0, 0) * T(0.13, -0.137, 0.677) * T(0, 0, -0.2319) * R(-90) * S(0.5);
    expectMatrix(sawAt, saw * J(121, 27, 1), "saw at 121");

    // The bees: the queen alone until after 124.5 s, then twenty more.
    EXPECT_EQ(count(at(124.5f), "image", "bee"), 1);
    EXPECT_EQ(count(at(124.51f), "image", "bee"), 21);

    // At 137 s the old man and the helmet go and the rope is enlarged threefold.
    std::vector<DrawCall> before137 = only(at(136.99f), 49), at137 = only(at(137), 49);
    EXPECT_EQ(count(before137, "image", "oldman2"), 1);
    EXPECT_EQ(count(before137, "image", "helmet"), 1);
    EXPECT_EQ(count(at137, "image", "oldman2"), 0);
    EXPECT_EQ(count(at137, "image", "helmet"), 0);
    auto columnLength = [](const DrawCall& c) { return std::hypot(c.mv[0], c.mv[1], c.mv[2]); };
    EXPECT_NEAR(columnLength(at137.at(0)) / columnLength(before137.at(0)), 3.0, 1e-3);

    // The moon strip, then water, then the golden strip.
    EXPECT_EQ(count(at(140.99f), "image", "moona"), 4);
    EXPECT_EQ(count(at(141), "image", "water"), 4);
    EXPECT_EQ(count(at(144.99f), "image", "water"), 4);
    EXPECT_EQ(count(at(145), "image", "golg"), 4);

    // The skull is cracked from 163.5 s, the balloon comes at 163.6 s.
    std::vector<DrawCall> cracked = at(163.55f);
    EXPECT_EQ(count(cracked, "image", "skullcrack3front"), 1);
    EXPECT_EQ(count(cracked, "image", "skullcrack3back"), 1);
    EXPECT_EQ(count(cracked, "image", "skull"), 0);
    EXPECT_EQ(count(cracked, "image", "balloon2"), 0);
    EXPECT_EQ(count(at(163.49f), "image", "skull"), 1);
    EXPECT_EQ(count(at(163.6f), "image", "balloon2"), 1);

    // Windows at their ends.
    EXPECT_EQ(only(at(104.75f), 60, "tear").size(), 15u);
    EXPECT_EQ(only(at(104.757f), 60).size(), 0u);
    EXPECT_EQ(count(at(104.9f), "image", "viola"), 1);
    EXPECT_EQ(count(at(105), "image", "viola"), 0);
}

// Group 36's clouds all draw the same three values from seed 4234: only the
// row spacing and the jitter index tell them apart.
TEST_F(SceneMiddle, ParadeCloudsShareOneOffset) {
    crtSrand(4234);
    double u1 = rnd(), u2 = rnd(), u3 = rnd();
    std::vector<DrawCall> clouds;
    for (const DrawCall& call : only(at(80), 36))
        if (call.name.compare(0, 5, "cloud") == 0) clouds.push_back(call);
    ASSERT_EQ(clouds.size(), 33u);
    for (int i : {0, 5, 32}) {
        M4 cloud = view(80, 0) * T(0.559, 0.48, -1) * T(1.968, -0.016, 3.051) * T(-0.638, 0.228, 0.008) *
                   T(0.2 * u3 - 0.638 * i, 0.3 * u2, 0.4 * u1) * S(0.115) * J(40, 624 + i, 1);
        expectMatrix(clouds[i], cloud, "cloud " + std::to_string(i));
        EXPECT_EQ(clouds[i].name, "cloud" + std::to_string(i % 4 + 1));
        EXPECT_EQ(clouds[i].ot, 2.0f);
    }
}

TEST_F(SceneMiddle, GroupsStandWhereTheirNotesPutThem) {
    {  // group 38, a tree of the forest (slot 3)
        int i = 3;
        crtSrand(treeSeed(i));
        skip(i + 40 + 1);
        M4 tree = view(110, 0) * forestBase() * T(0.811 * i, 0, 0.17) * S(0.7) * J(110, 129 + i, 0.2);
        expectMatrix(only(at(110), 38).at(5), tree, "tree 3");
    }
    {  // group 44, the second row's axe in slot 3, striking
        int i = 3;
        double t = 110, pi = 6.283185307 / 2;
        double a0 = trunc32((2 * pi * t + 0.354) * 3) / 3.0;
        crtSrand(treeSeed(i));
        skip(i + 40);
        double q = rnd();
        skip(1);
        M4 axe = view(110, 0) * T(0.055, 0.339, 1) * T(-0.15, -0.843, -0.087) * forestBase() * T(0.811 * i, 0, 0.17) *
                 S(0.38) * T(0, 0.6, 0) * R(195.3 - 60 * std::max(std::sin(0.6 * q + 2.44 + a0), -0.5)) *
                 T(0, -0.6, 0) * J(110, 329 + i, 0.5);
        std::vector<DrawCall> axes = only(at(110), 44);
        ASSERT_EQ(axes.size(), 50u);
        expectMatrix(axes[25 + 9], axe, "axe 3 of the second row");
    }
    {  // group 48, the eighth bee of the swarm
        int i = 7;
        double t = 130;
        double g = trunc32((0.3 * std::sin(75.52 * i) + 1) * (t - 124.7 - 0.05 * i) * 24) / 24.0;
        M4 bee = view(130, 0) * T(0.0938, -0.0264, 0) * T(-0.26, -0.055, -0.378) *
                 T((0.7 * std::sin(21.52 * i) + 1) * (-0.291 * g * g), (0.7 * std::sin(5.34 * i) + 1) * 0.307 * g, 0) *
                 T(0, 0, 0.02 * g) * T(0.13, -0.097, 0.827) * S(0.3) * S(0.1) * J(260, 349 + i, 0.2) *
                 J(130, 349 + i, 5.5);
        DrawCall call = only(at(130), 48, "bee").at(1 + i);
        expectMatrix(call, bee, "bee 7");
        EXPECT_EQ(call.ot, 10.0f);
    }
    {  // group 41, the right curtain against the camera at 125 s
        double t = 125, v = 0.717 * 0.1 * (t - 121 + 8.11 - 0.2);
        double e = trunc32(v * v * 512) / 512.0;
        Vec3 c = cameraForSceneTime(125, 0).eye;
        M4 curtain = view(125, 0) * T(0.339, 0.26, 1.347) * T(0, c.y - 0.134, 0) * T(-0.024 - e, -0.118, 0.685) *
                     T(c.x, 0, 0) * T(2 * e, 0, 0) * T(-0.638, 0, 0) * S(-1, 1, 1) * S(0.18) * J(125, 25, 0.15);
        DrawCall call = only(at(125), 41).at(1);
        expectMatrix(call, curtain, "right curtain");
        EXPECT_EQ(call.ot, 12.0f);
    }
    {  // group 55: the group's own transforms, then the second pair's right hammer
        double t = 156, pi = 3.1415926535, e = ease((t - 153) * 0.2);
        M4 group = view(156, 0) * T(0.496, 0.197, 0) * T(-0.433, -0.102, -0.165) * T(-0.071, -1.496, 0.268) * S(2) *
                   T(0, -0.339, 0) * R(-2.24) * T(0, 0.339, 0) * S(-1.5, 1.5, 1.5);
        double x = pi * t + 0.354 + 0.25 + 0.244 + pi + 0.708;
        double s = std::sin(trunc32(4 * x) * 0.25);
        double m = std::max(0.0, std::pow(std::fabs(s), 8) * (s < 0 ? -1 : 1));
        M4 hammer = group * T(-1.276, -1.56, 0.661 - 0.685) * T(1.37, -0.346, 0.575) * T(0.134, 0.197, 0.118) *
                    T(0.669 * e - 0.348, 0, 0) * S(0.8) * T(0, 0.6, 0) * R(90) * R(-6.4 - 80 * m) * T(0, -0.6, 0) *
                    J(156, 17, 1);
        std::vector<DrawCall> hammers = only(at(156), 55, "hammer");
        ASSERT_EQ(hammers.size(), 8u);
        expectMatrix(hammers[3], hammer, "hammer n = 1, i = 1");
        EXPECT_EQ(hammers[3].ot, 3.0f);
    }
    {  // group 57, the second old man swaying at 140 s
        double t = 140, w = trunc32(8 * t) * 0.125;
        M4 man = view(140, 0) * T(-0.26, -0.055, 0.071) * T(0.165, -1.755, -0.827) * T(0.122, -0.184, 0.827) *
                 S(-1, 1, 1) * S(1.3) * J(140, 50, 0.1) * T(0.528, -1.3892, -0.717) * T(-0.12 * (t - 137) - 0.543, 0, 1) *
                 T(0, 0.05 * std::sin(4.1 * w), 0) * R(13 * std::sin(0.5 * 1.54 * w)) * S(0.3) * J(140, 154, 0.4);
        expectMatrix(only(at(140), 57, "oldman2").at(1), man, "old man B");
    }
}

// The fall replayed: raw 150 s shows scene time 143.1 again with flag 1, and
// the fish stand where their notes put them under the replay's framing.
TEST_F(SceneMiddle, TheFallOnItsReplay) {
    std::vector<DrawCall> calls = traceRaw(150).calls;
    ASSERT_EQ(part->timeFlag, 1);
    double t = part->sceneTime;
    ASSERT_NEAR(t, 143.1, 0.05);
    int i = 4;
    crtSrand(4235);
    skip(10 * i + 500);
    double g = rnd(), r1 = rnd(), r2 = rnd(), turn = rnd();
    M4 fish = view(float(t), 1) * T(0.236, -3.182, 0.45) * T(0, 0.181 * trunc32((t - 141) * 24) / 24.0 + 0.1, 0) *
              T(-0.1 * std::sin(i + 0.4 * t), 0, 0) * T(2 * r2 - 1, 2 * r1 - 1, 1.2 * g) * R(60 * turn - 93.7) * S(0.1);
    DrawCall call = only(calls, 50).at(i);
    expectMatrix(call, fish, "fish 4 on the replay");
    EXPECT_NEAR(call.color[0], 1.2 * g + 0.2, 1e-6);
    EXPECT_EQ(call.ot, 12.236f);
    EXPECT_EQ(only(calls, 50, "meshTargetA").size(), 1u);
}

// "OtherFlow": the fish sink as they swim on, the nails by the second, and
// every group sets it back to 0 after its draws.
TEST_F(SceneMiddle, OtherFlowFollowsTheNailsAndTheFish) {
    {  // group 40 at 116 s: per fish 1.276 - 1.335 m1, then 0
        std::vector<float> values = flows(traceAt(116), 40);
        ASSERT_EQ(values.size(), 50u);
        double cycle = trunc32((std::fmod((116 - 113) * 1.8, 6.3) + 113) * 8) * 0.125;
        double h = 1 + std::sin(413.3 * -6 - 1);
        double m1 = std::max(0.0, (cycle - 113 - h) * 0.3);
        EXPECT_NEAR(values[0], 1.276 - 1.5 * 0.89 * m1, 1e-5);
        for (size_t k = 1; k < values.size(); k += 2) EXPECT_EQ(values[k], 0.0f);
    }
    {  // group 51 at 166 s: both rows of six nails five steps down
        std::vector<float> values = flows(traceAt(166), 51);
        ASSERT_EQ(values.size(), 12u + 1 + 30);
        for (int k = 0; k < 12; k++) EXPECT_NEAR(values[k], 0.402 - 0.417 * 5, 1e-5);
        for (size_t k = 12; k < values.size(); k++) EXPECT_EQ(values[k], 0.0f);
    }
    {  // group 55 before 153 s: fourteen nails, then 0
        std::vector<float> values = flows(traceAt(148.6f), 55);
        ASSERT_EQ(values.size(), 15u);
        EXPECT_NEAR(values[0], 0.402 - 0.417 * 4, 1e-5);
        EXPECT_EQ(values.back(), 0.0f);
    }
    {  // group 59: each nail sinks by as much as it bobs down
        double t = 93.3, pi = 3.1415926535;
        double a = trunc32(4 * (pi * t + 0.354 - 1)) * 0.25;
        double m = std::max(0.0, std::pow(std::fabs(std::sin(a - 0.2)), 4) * (std::sin(a) < 0 ? -1 : 1));
        std::vector<float> values = flows(traceAt(93.3f), 59);
        ASSERT_EQ(values.size(), 4u);
        EXPECT_NEAR(values[0], -1.2 * m, 1e-5);
        EXPECT_EQ(values[1], 0.0f);
    }
}

// From 160 to 161 s nothing draws into mesh target B, so group 55's mirrored
// copies show the figure drawn just before 160 s.
TEST_F(SceneMiddle, MeshTargetBKeepsItsFigureAfter160) {
    std::vector<DrawCall> last = at(159.9f);
    EXPECT_EQ(only(last, 33).size(), 1u);
    cv::Mat before = targetPicture(*part->app->meshTargetB);
    std::vector<DrawCall> after = at(160.5f);
    EXPECT_EQ(only(after, 33).size(), 0u);
    EXPECT_EQ(only(after, 55, "meshTargetB").size(), 4u);
    // Mirrored against the group's own figure, which its frame already flips.
    double figure = determinant3(only(after, 55, "meshTargetA").at(0).mv);
    for (const DrawCall& copy : only(after, 55, "meshTargetB")) EXPECT_LT(determinant3(copy.mv) * figure, 0);
    EXPECT_TRUE(samePicture(targetPicture(*part->app->meshTargetB), before));
}
