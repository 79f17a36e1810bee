// The scene timeline drawn in a real 1280 x 720 show window with the show's
// pictures and programs and two real figure clips, read through the draw
// trace: the windows' edges, the matrices of several groups worked out by
// hand from their notes, purity, the random generator, the mesh targets.
#include "tests/show/scene_test_kit.h"

using namespace scene_test;

namespace {
class SceneTimeline : public SceneTest {};
}  // namespace


// Either side of 9, 13, 21 and 73 s (scene times no raw time maps to exactly).
TEST_F(SceneTimeline, WindowsOpenAndCloseWhereTheTableSays) {
    auto before9 = at(8.999f), at9 = at(9), after9 = at(9.001f);
    EXPECT_EQ(count(before9, "image", "logo"), 1);
    EXPECT_EQ(count(at9, "image", "logo"), 0);
    EXPECT_EQ(count(at9, "shatterScreen", "bird"), 0);
    EXPECT_EQ(count(after9, "shatterScreen", "bird"), 1);
    EXPECT_EQ(only(before9, 21).size(), 0u);
    EXPECT_EQ(only(at9, 21, "handother").size(), 8u);
    EXPECT_EQ(count(at9, "image", "frame_1"), 0);
    // The first figure turns round at 9 s: the same pose, seen from behind.
    std::vector<DrawCall> turned = only(at9, 32), unturned = only(before9, 32);
    ASSERT_EQ(turned.size(), 1u);
    ASSERT_EQ(unturned.size(), 1u);
    EXPECT_NEAR(turned[0].mv[0], -unturned[0].mv[0], 1e-3);
    EXPECT_NEAR(turned[0].mv[10], -unturned[0].mv[10], 1e-3);

    auto before13 = at(12.999f), at13 = at(13), after13 = at(13.001f);
    EXPECT_EQ(count(before13, "image", "handother"), 9);  // group 19's hand and the rows
    EXPECT_EQ(count(at13, "image", "handother"), 0);
    EXPECT_EQ(count(at13, "image", "hammer"), 0);
    EXPECT_EQ(count(after13, "image", "hammer"), 8);
    EXPECT_EQ(only(at13, 24, "angel").size(), 4u);
    EXPECT_EQ(only(at13, 25, "angel").size(), 4u);
    EXPECT_EQ(only(before13, 24).size(), 0u);
    // The moon stage jumps at 13 s; before, the rise and sink moves apply.
    M4 stage13 = view(13, 0) * opening() * T(-0.071, -0.953, 0.496) * S(1.2) * T(-0.102, 0.102, 0.37) * S(0.3);
    expectMatrix(only(at13, 9, "moon").at(0), stage13, "moon at 13");

    auto before21 = at(20.999f), at21 = at(21), after21 = at(21.001f);
    EXPECT_EQ(only(before21, 32).size(), 1u);
    EXPECT_EQ(only(at21, 32).size(), 0u);  // the first figure is no longer redrawn
    EXPECT_EQ(only(before21, 34).size(), 1u);
    EXPECT_EQ(only(at21, 34).size(), 0u);
    EXPECT_EQ(count(at21, "image", "oldman2"), 0);
    EXPECT_EQ(count(after21, "image", "oldman2"), 1);
    EXPECT_EQ(only(at21, 20, "handother").size(), 1u);

    auto before73 = at(72.999f), at73 = at(73);
    EXPECT_EQ(count(before73, "image", "otherback"), 2);
    EXPECT_EQ(count(before73, "image", "backtile1"), 0);
    EXPECT_EQ(count(at73, "image", "otherback"), 0);
    EXPECT_EQ(count(at73, "image", "backtile1"), 9);
}

// The sea's fish only in the first water layer; group 15's forks to the end;
// the hanged figure twice, once mirrored, from 57 to 65 s.
TEST_F(SceneTimeline, SeaForksAndTheHangedFigure) {
    std::vector<DrawCall> sea = only(at(8), 26);
    ASSERT_EQ(sea.size(), 22u);
    for (int i = 0; i < 18; i++) EXPECT_EQ(sea[i].name, "fishmore") << i;
    const char* layers[] = {"sea2", "sea1", "sea2", "sea1"};
    for (int i = 0; i < 4; i++) EXPECT_EQ(sea[18 + i].name, layers[i]);
    EXPECT_EQ(only(at(6.5f), 26, "fishmore").size(), 0u);

    EXPECT_EQ(only(at(272.9f), 15, "fork").size(), 2u);
    EXPECT_EQ(only(at(48.9f), 15).size(), 0u);

    for (float t : {56.9f, 65.1f}) EXPECT_EQ(only(at(t), 61, "meshTargetA").size(), 1u) << t;
    std::vector<DrawCall> hanged = only(at(60), 61, "meshTargetA");
    ASSERT_EQ(hanged.size(), 2u);
    EXPECT_GT(determinant3(hanged[0].mv), 0);
    EXPECT_LT(determinant3(hanged[1].mv), 0);
    EXPECT_EQ(only(at(75), 61, "meshTargetA").size(), 6u);
    EXPECT_EQ(count(at(55), "image", "rope1"), 1);
    EXPECT_EQ(count(at(56), "image", "rope1"), 0);
}

// Matrices, looks and colours of several groups, worked out from their notes.
TEST_F(SceneTimeline, GroupsStandWhereTheirNotesPutThem) {
    {  // group 1, the logo
        DrawCall logo = only(at(6), 1).at(0);
        expectMatrix(logo, view(6, 0) * opening() * T(-0.261, -0.298, 3.087) * S(0.038), "logo");
        EXPECT_EQ(logo.ot, 1.0f);
        EXPECT_EQ(logo.mode, 1);
        EXPECT_EQ(only(at(8.7f), 1).at(0).ot, 5.59f);
    }
    std::vector<DrawCall> at30 = at(30);
    {  // group 2, the back wall's two tiles, in the warm light
        ClipImage* wall = part->registry.find("otherback");
        ASSERT_NE(wall, nullptr);
        double a = wall->texture.aspect;
        std::vector<DrawCall> tiles = only(at30, 2);
        ASSERT_EQ(tiles.size(), 2u);
        for (int n = 0; n < 2; n++) {
            expectMatrix(tiles[n], view(30, 0) * opening() * T(2 * n * a - 0.01 * 0.071 * n, 0, -0.02 * 30.0),
                         "wall tile " + std::to_string(n));
            EXPECT_EQ(tiles[n].ot, 0.0f);
            EXPECT_EQ(tiles[n].mode, 2);
        }
    }
    {  // group 11, the old man
        M4 man = view(30, 0) * opening() * T(-0.008, -0.197, -0.622) * T(-0.197, -0.197, 0.02 * 30.0 + 1.017) *
                 S(0.15) * J(30, 0, 1);
        expectMatrix(only(at30, 11).at(0), man, "old man");
    }
    {  // group 18, the third of the six hammers: two values each from seed 4234
        crtSrand(4234);
        double u = 0, r = 0;
        for (int j = 0; j <= 2; j++) u = rnd(), r = rnd();
        double t = 30, a = trunc32(((u * 0.9 + 2 * M_PI * t + 0.354) + 0.1 * 2) * 4) * 0.25;
        double s = std::max(std::sin(a), -0.5);
        M4 hammer = view(30, 0) * opening() * T(0.181 * 2, 0, 0) * T(-0.276, -0.181, 0.26) *
                    T(-0.197, -0.197, 0.02 * t + 1.017) * T(-0.244, -0.102, 0.055) * S(-1, 1, 1) * S(0.1) *
                    T(0, 0.482, 0) * R(360 * r - 26.4 - 60 * s) * T(0, -0.482, 0) * J(30, 0, 1);
        std::vector<DrawCall> hammers = only(at30, 18, "hammer");
        ASSERT_EQ(hammers.size(), 8u);
        expectMatrix(hammers[4], hammer, "hammer j = 2");
    }
    {  // group 16, the fourth fish of the shoal, turned round after 33 s
        double t = 35;
        crtSrand(4234);
        double u[4] = {};
        for (int i = 0; i <= 3; i++)
            for (double& v : u) v = rnd();
        SpriteOffset swim = pathMoveOffset({0, float(8 * u[3] - 4), 0}, {-17, 0, 0}, 0.2f, float((t - 25) * 0.15), 3, 1);
        M4 fish = view(35, 0) * opening() * T(trunc32((t - 33) * 6) * 0.291 / 6 - 0.51, 0, 0) *
                  T(2 * u[2] - 1, u[1] - 0.5, 0.2 * u[0]) * T(2.08, 0.26, -1) * T(-0.197, -0.197, 0.02 * t + 1.017) *
                  S(0.1) * offset(swim) * S(-1, 1, 1);
        DrawCall call = only(at(35), 16, "fish2").at(3);
        expectMatrix(call, fish, "fish 3");
        EXPECT_EQ(call.ot, 8.0f);
    }
    {  // group 31, the sixth falling fish and the fork it carries (seed 14234)
        double t = 68;
        crtSrand(14234);
        for (int n = 0; n < 3507; n++) crtRand();
        double u1 = rnd(), u2 = rnd(), u3 = rnd(), u4 = rnd(), u5 = rnd();
        M4 fish = view(68, 0) * T(-0.284, 0.912, 3.9) * T(-0.732, -0.11 - trunc32(16 * (t - 65)) * 0.181 * 0.0625, -1.464) *
                  T(1.5 * u4, 2 * u3 - 1, 0.4 * u2) * R(trunc32(8 * t) * (2 * u1 - 1) * 10 * 0.125 + 400 * u5) *
                  S(0.09) * J(34, 230, 1) * S(0.5);
        std::vector<DrawCall> calls = only(at(68), 31);
        ASSERT_EQ(calls.size(), 70u);
        expectMatrix(calls[10], fish, "fish 5");
        EXPECT_EQ(calls[11].name, "fork");
        expectMatrix(calls[11], fish * T(0, 0.5 * std::sin(2 * M_PI * t) - 2, -0.04) * S(3), "fork of fish 5");
        EXPECT_EQ(calls[10].ot, 3.0f);
    }
    {  // group 32, the first figure in front of the mesh camera, turning at 15 s
        double t = 15;
        M4 figure = lookAt({0, 0, 4}, {0, 0, 0}, {0, 1, 0}) * T(0.165, -0.306, 1.695) * T(0, 0.307, 0) * S(1, 1, 0.2) *
                    T(0.118, 0, -0.89) * T(0.008, 0, 0.236) * Ry(211.2 - trunc32(8 * t) * 59.4 * 0.125) *
                    T(-0.008, 0, -0.236) * Ry(-90) * Ry(180) * Ry(347.2);
        DrawCall call = only(at(15), 32).at(0);
        EXPECT_EQ(call.kind, "mesh");
        EXPECT_EQ(call.name, "walk4800");
        EXPECT_EQ(call.extra, "{\"frame\": 5, \"target\": \"meshTargetA\"}");
        expectMatrix(call, figure, "first figure");
    }
    {  // group 61, the hanged figure and its mirrored copy at 60 s
        crtSrand(4234);
        double u = rnd();
        M4 figure = view(60, 0) * T(-1.968, -0.354, 1) * T(3, 0.4 * u - 0.204 - 0.465, 0.827) * T(-0.921, 0.465, -0.071) *
                    T(0, 2, 0) * T(0, -2, 0) * S(0.5) * T(0, -0.13, 0) * R(180) * T(0.834, -0.45, 1.118) * S(2);
        std::vector<DrawCall> calls = only(at(60), 61);
        ASSERT_EQ(calls.size(), 2u);
        expectMatrix(calls[0], figure, "hanged figure");
        expectMatrix(calls[1], figure * T(-0.732, 0, 0) * S(-1, 1, 1), "mirrored copy");
        EXPECT_EQ(calls[0].ot, 10.0f);
        EXPECT_EQ(calls[0].extra, "{\"otherMode\": 1}");
    }
    {  // group 22, tinted, and white again after it
        DrawCall fruit = only(at(50), 22).at(0);
        EXPECT_FLOAT_EQ(fruit.color[1], 0.7f);
        EXPECT_EQ(only(at(50), 23).at(0).color[1], 1.0f);
    }
}

// A frame's trace depends on its time alone; the generator the later groups
// draw from is reseeded from the time by the sea group.
TEST_F(SceneTimeline, FramesArePureFunctionsOfTheTime) {
    auto same = [](const std::vector<DrawCall>& a, const std::vector<DrawCall>& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); i++)
            if (drawCallJson(a[i]) != drawCallJson(b[i])) return false;
        return true;
    };
    std::vector<DrawCall> first = at(30);
    at(150, 1);
    at(8);
    EXPECT_TRUE(same(first, at(30)));
    EXPECT_TRUE(same(at(8), at(8)));

    auto generatorAfter = [&](float t) {
        at(t);
        return crtRand();
    };
    // At 148 s no group after the sea reseeds.
    int a = generatorAfter(148), b = generatorAfter(148.5f);
    EXPECT_NE(a, b);
    EXPECT_EQ(generatorAfter(148), a);
}

// Between 21 and 35 s nothing is drawn into meshTargetA, so its composites
// show the figure of the last frame before 21 s.
TEST_F(SceneTimeline, MeshTargetAKeepsItsLastFigure) {
    at(20.5f);
    cv::Mat last = targetPicture(*part->app->meshTargetA);
    cv::Mat alpha;
    cv::extractChannel(last, alpha, 3);
    EXPECT_GT(cv::countNonZero(alpha), 1000) << "no figure in the target";
    at(24);
    at(34.9f);
    EXPECT_TRUE(samePicture(targetPicture(*part->app->meshTargetA), last));
    EXPECT_EQ(only(at(35.5f), 35, "meshTargetA").size(), 4u);
    EXPECT_FALSE(samePicture(targetPicture(*part->app->meshTargetA), last));
}
