// The scenes from 169 s to the end through the draw trace: the windows'
// edges, matrices of the grid wall, the ascent and the chain worked out by
// hand from their notes (replayed stretches included), looks and colours,
// the random generator's state after the groups, purity, and every half
// second of the whole show without a GL error.
#include <cstdlib>
#include <string>

#include "render/gl_state.h"
#include "render/motion.h"
#include "tests/show/scene_test_kit.h"

using namespace scene_test;

namespace {

// The trace is all these tests read: the frames are scissored to a corner,
// so every call is made and few pixels are filled.
class SceneFinale : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 8, 8);
    }
    void TearDown() override { glDisable(GL_SCISSOR_TEST); }
};

void skip(int n) {
    for (int i = 0; i < n; i++) crtRand();
}

// J at a clock of its own.
M4 JAt(double time, int index, double amplitude) { return J(static_cast<float>(time), index, amplitude); }

double extra(const DrawCall& call, const std::string& key) {
    size_t at = call.extra.find("\"" + key + "\": ");
    if (at == std::string::npos) return NAN;
    return std::strtod(call.extra.c_str() + at + key.size() + 4, nullptr);
}

void expectColour(const DrawCall& call, double r, double g, double b, const std::string& what) {
    EXPECT_NEAR(call.color[0], r, 1e-6) << what;
    EXPECT_NEAR(call.color[1], g, 1e-6) << what;
    EXPECT_NEAR(call.color[2], b, 1e-6) << what;
}

std::string cloudKey(int i) { return "cloud" + std::to_string(i % 4 + 1); }

// Element i of a drifting depth field (seed, skip), as the notes place it.
struct Place {
    double x, y, z, g;
};
Place fieldPlace(double t, unsigned seed, int skipped, double height, double lift) {
    crtSrand(seed);
    skip(skipped);
    double r1 = rnd(), r2 = rnd(), r3 = rnd(), r4 = rnd();
    double z = 2 * r1 - 1;
    z += t < 225 ? trunc32(12 * t * (r4 + 1)) / 12.0 : trunc32(2700 * (r4 + 1)) / 12.0;
    double w = std::fmod(z, 8);
    return {3 * r3 - 1.5, height * r2 + lift, w - 4, ease(w / 4)};
}

// Which of the 243 stars of 241 to 249 s are drawn: those off the centre line.
std::vector<int> starsOffTheCentre() {
    std::vector<int> drawn;
    for (int i = 0; i < 243; i++) {
        crtSrand(5234);
        skip(30 * i + 2004);
        rnd();
        rnd();
        if (std::fabs(2 * rnd() - 1) >= 0.26) drawn.push_back(i);
    }
    return drawn;
}

// The chain's frame at scene time t.
M4 chainBase(double t, int flag) {
    double s = trunc32(24 * t) / 24.0 - 0.087;
    int m = trunc32(16 * s);
    double X = 1.4 * std::sin(1.093274016 * 0.0625 * m) + 1;
    double Y = 0.4 * std::sin(0.56548656 * 0.0625 * m) - (0.5 - 0.134 * (s - 225)) - 5 * ease((s - 234.2) * 0.3);
    if (flag == 1) Y += 0.228 * (t - 233);
    double Z = 1 - ease(s - 229) + 5 * 0.559 * ease((s - 234.5) * 0.25) + 0.2 * std::sin(0.9424776 * 0.0625 * m);
    return view(static_cast<float>(t), flag) * T(0.684, -1.299, 2) * T(0, 4, -3) * T(-0.5, 0, 0) * T(X, Y, Z) *
           R(40 * std::sin(0.55 * X)) * T(0.5, 0, 0) * S(1.4);
}

}  // namespace

TEST_F(SceneFinale, WindowsOpenAndCloseWhereTheTableSays) {
    EXPECT_TRUE(only(at(168.999f), 54).empty());
    std::vector<DrawCall> wall = only(at(169), 54);
    ASSERT_EQ(wall.size(), 193u);  // balloon, 2 curtains, 186 clouds, 2 angels, 2 backdrops
    EXPECT_EQ(wall[0].name, "balloon2");
    EXPECT_EQ(wall[2].name, "kourtina");
    for (int j = 0; j < 186; j++) EXPECT_EQ(wall[3 + j].name, cloudKey(j % 93)) << j;
    EXPECT_EQ(wall[190].name, "angel");
    EXPECT_EQ(wall[191].name, "greekback");
    EXPECT_EQ(wall[192].name, "greekback3");

    // At 177 the angels and the first backdrops go; the ribcage and the
    // fourth ribbon set's cards come.
    std::vector<DrawCall> before177 = only(at(176.999f), 54), at177 = only(at(177), 54);
    EXPECT_EQ(count(before177, "image", "angel"), 2);
    EXPECT_EQ(count(before177, "image", "ribcageb"), 0);
    EXPECT_EQ(count(at177, "image", "angel"), 1);
    for (const char* card : {"ribcageb", "ribcagef", "fore1", "fore2", "greekback", "greekback3"})
        EXPECT_EQ(count(at177, "image", card), 1) << card;
    EXPECT_EQ(count(at177, "image", "car4"), 2);
    EXPECT_EQ(count(at177, "image", "tap"), 0);

    // The taps and their curls from 184 s.
    EXPECT_EQ(count(at(183.999f), "curl", ""), 0);
    std::vector<DrawCall> taps = only(at(184), 54);
    EXPECT_EQ(count(taps, "image", "tap"), 6);
    ASSERT_EQ(count(taps, "curl", ""), 6);
    for (int k = 0, seen = 0; k < int(taps.size()); k++)
        if (taps[k].kind == "curl") {
            EXPECT_EQ(taps[k - 1].name, "tap");
            EXPECT_EQ(extra(taps[k], "index"), seen++);
            EXPECT_EQ(extra(taps[k], "progress"), 0);
        }

    // The grid wall hands over to the ascent at 209 s.
    std::vector<DrawCall> before209 = at(208.999f), at209 = at(209);
    EXPECT_EQ(only(before209, 54).size(), 210u);
    EXPECT_TRUE(only(before209, 52).empty());
    EXPECT_TRUE(only(at209, 54).empty());
    std::vector<DrawCall> ascent = only(at209, 52);
    EXPECT_EQ(ascent.size(), 110u);  // 66 clouds, 33 stars, two figures with their lines, balloon, moon, sun
    EXPECT_EQ(count(ascent, "image", "star"), 33);
    EXPECT_EQ(count(ascent, "curlPair", ""), 2);

    // At 225 s the higher stars, the planets and the chain come.
    std::vector<DrawCall> before225 = only(at(224.999f), 52), at225 = only(at(225), 52);
    EXPECT_EQ(count(before225, "image", "star"), 33);
    EXPECT_EQ(count(at225, "image", "star"), 106);
    EXPECT_EQ(count(before225, "chainLink", ""), 0);
    EXPECT_EQ(count(at225, "chainLink", ""), 7 * 2 + 2 + 14 * 7 + 6 * 4);
    EXPECT_EQ(count(at225, "braid", ""), 14);
    EXPECT_EQ(count(at225, "wave", ""), 6);
    for (int i = 1; i <= 4; i++) EXPECT_GT(count(at225, "image", "planet" + std::to_string(i)), 2);

    // 237.7 is compared in double: the float just below it still shows the chain.
    EXPECT_EQ(count(at(237.7f), "chainLink", ""), 138);
    EXPECT_EQ(count(at(237.70001f), "chainLink", ""), 0);

    // At 241 s the veil, the back clouds and the bursting stars.
    std::vector<DrawCall> before241 = at(240.999f, 1), at241 = at(241, 1);
    EXPECT_TRUE(only(before241, 53).empty());
    EXPECT_EQ(count(before241, "image", "backcloud3"), 0);
    ASSERT_EQ(only(at241, 53).size(), 1u);
    EXPECT_EQ(extra(only(at241, 53)[0], "alphaLow"), 1);
    EXPECT_EQ(extra(only(at241, 53)[0], "alphaHigh"), 1);
    EXPECT_EQ(count(at241, "image", "backcloud3"), 3);
    size_t bursting = starsOffTheCentre().size();
    EXPECT_LT(bursting, 243u);
    EXPECT_EQ(count(at241, "image", "star"), int(106 + bursting));
    EXPECT_EQ(count(at(248.999f, 1), "image", "star"), int(106 + bursting));
    std::vector<DrawCall> at249 = at(249, 1);
    EXPECT_EQ(count(at249, "image", "star"), 106);
    EXPECT_EQ(count(at249, "image", "backcloud3"), 0);
    EXPECT_EQ(count(at249, "image", "backcloud4"), 3);

    EXPECT_FALSE(only(at(272.999f, 0), 52).empty());
    EXPECT_TRUE(at(273).empty());
}

TEST_F(SceneFinale, GridWallStandsWhereItsNotesPutIt) {
    {
        double t = 172.0f;
        M4 v = view(172, 0);
        std::vector<DrawCall> wall = only(at(172), 54);
        ASSERT_EQ(wall.size(), 193u);

        double bx = trunc32((t - 169) * 16) * 0.0625 * 0.4, by = trunc32((t - 163.6) * 16) * 0.0625 * 0.04 - 0.2;
        M4 balloon = v * T(-0.96, -0.174, 0.3) *
                     T(1.244 * ease(trunc32((t - 204) * 16) * 0.0625 * 0.2) + bx - 0.52,
                       2 * (0.456 * ease(trunc32((t - 205.5) * 16) * 0.0625 * 0.25) + by), -0.5265) *
                     S(0.3) * J(172, 1554, 1);
        expectMatrix(wall[0], balloon, "balloon at 172");
        EXPECT_EQ(wall[0].ot, 1.0f);

        Vec3 eye = cameraForSceneTime(172, 0).eye;
        double c = 0.504 - 0.071 * ease(0.35 * (t - 168.8)) + 0.087;
        M4 curtain = v * T(0.01, 0, 0) * T(-0.024, 0.024, -2) * T(0, eye.y - 0.134, 0) * T(-0.024 - c, -0.118, 0.685) *
                     T(eye.x, 0, 0) * T(2 * c, 0, 0) * T(0.984, -0.016, 3.051) * T(-0.638, 0.228, 0.008) *
                     T(-0.638, 0, 0) * S(-1, 1, 1) * S(0.18) * JAt(0.5 * t, 325, 0.13);
        expectMatrix(wall[2], curtain, "second curtain");
        EXPECT_EQ(wall[2].ot, 3.0f);

        for (int bank = 0; bank < 2; bank++) {
            int j = bank ? 90 : 5;
            crtSrand(4234);
            skip(30 * j + 1000);
            double a = rnd(), b = rnd(), cc = rnd();
            M4 cloud = v * T(21.85 * bank, 0, 0) * T(2.616, -0.236, -2.718) * T(0.559, 0.48, -1) *
                       T(1.968, -0.016, 3.051) * T(-0.638, 0.228, 0.008) * T(0.2 * cc - 0.238 * j, 0.6 * b, 0.8 * a) *
                       S(0.115) * JAt((bank ? 0.5 : 0.25) * t, 624 + j, 1);
            expectMatrix(wall[3 + 93 * bank + j], cloud, "cloud " + std::to_string(j) + " of bank " + std::to_string(bank));
            EXPECT_EQ(wall[3 + 93 * bank + j].ot, 2.0f);
        }

        double h = std::max(0.2, 1.668 - trunc32((t - 154) * 16) * 0.0625 * 0.243 * 0.5);
        expectMatrix(wall[190], v * T(-2.172, 0.465, 0.26) * T(1.308, 2 * h, -0.552) * J(172, 13554, 0.5), "angel 2");
        EXPECT_EQ(wall[190].ot, 2.715f);

        crtSrand(4234);
        skip(41);
        double q = rnd(), cq = rnd();
        M4 floor = T(0.472, 1.914, -0.622) * T(0.6 * cq - 0.48, 0.1 - 0.2 * q - 1 - 1.866 + 0.05, 0.118);
        expectMatrix(wall[191], v * T(-1, -0.087 - 0.528 * 0.1 * (t - 169), 0) * floor * S(1.2, 1.1, 1.1) * J(172, 129, 0.2),
                     "greekback");
        expectMatrix(wall[192], v * T(2.616, 0.156, 0) * floor * S(0.8) * S(-1.2, 1.1, 1.1) * J(172, 129, 0.2),
                     "greekback3");
        EXPECT_EQ(wall[192].ot, -10.0f);
        expectColour(wall[192], 1, 1, 1, "greekback3");
    }
    {
        float ft = 201.3f;
        double t = ft;
        M4 v = view(ft, 0);
        std::vector<DrawCall> wall = only(at(ft), 54);
        ASSERT_EQ(wall.size(), 210u);
        // Taps k at 189 + 2k, each followed by its curl.
        M4 tap2 = v * T(1, 0, 0) * T(3.962, 0.591, -0.102) * T(-2.172, 0.362, -0.307) * S(-1, 1, 1) * S(0.5) *
                  JAt(0.46 * t, 4556, 0.3);
        expectMatrix(wall[193], tap2, "tap 2");
        EXPECT_EQ(wall[194].kind, "curl");
        expectMatrix(wall[194], tap2 * T(-0.827, -0.669, -0.008), "curl 2");
        EXPECT_EQ(extra(wall[194], "index"), 2);
        EXPECT_NEAR(extra(wall[194], "progress"), t - 191, 1e-6);
        expectColour(wall[194], 1, 1, 1, "curl 2");
        M4 tap4 = v * T(-0.969, -0.228, -0.134) * T(2, 0, 0) * T(3.962, 0.591, -0.102) * S(0.5) *
                  JAt(0.46 * t, 4558, 0.3);
        expectMatrix(wall[197], tap4, "tap 4");
        EXPECT_NEAR(extra(wall[198], "progress"), t - 192 - 0.9 * 4, 1e-6);

        M4 ribs = v * T(2.048, 0.032, -0.33) * S(0.9) * JAt(0.5 * t, 1554, 0.5);
        expectMatrix(wall[201], ribs, "ribcageb");
        expectMatrix(wall[202], ribs * T(0, 0, 0.0213), "ribcagef");

        const double x0 = 1.36 + 0.0268;
        M4 set4 = v * T(2.217, -2, 1);
        expectMatrix(wall[203], set4 * T(x0, 2.7006, -1.118) * T(3.924, -1.182, 0.74) * JAt(0.6 * t, 1291, 0.15) *
                                    S(-0.4, 0.4, 0.4),
                     "fore1");
        M4 car = set4 * T(1.796, -0.992, 0.828) * T(x0 - 0.06 * trunc32((t - 200) * 8) * 0.125, 2.7006, -1.118) *
                 T(0, -0.402 * ease(t - 199 + 0.291), 0) * J(ft, 129, 0.2) * S(0.11) * R(100 * ease(t - 198.4));
        expectMatrix(wall[206], car, "the second car");
        expectMatrix(wall[209], set4 * T(5, 1.812, -1.496) * JAt(0.7 * t, 124, 0.1) * S(-1.1, 1.1, 1.1), "greekback3");
        for (int i = 203; i < 210; i++) {
            EXPECT_EQ(wall[i].ot, -1.0f) << wall[i].name;
            expectColour(wall[i], 1, 1, 1, wall[i].name);
        }
    }
}

TEST_F(SceneFinale, AscentStandsWhereItsNotesPutIt) {
    {
        float ft = 215;
        double t = ft;
        M4 v = view(ft, 0);
        std::vector<DrawCall> sky = only(at(ft), 52);
        ASSERT_EQ(sky.size(), 110u);
        Place p = fieldPlace(t, 4234, 30 * 3 + 1000, 1.5, 0.639);
        expectMatrix(sky[3], v * T(-0.15, 0.118, -0.921) * T(p.x, p.y, p.z) * S(0.28612) * JAt(0.5 * t, 627, 1),
                     "cloud A 3");
        expectColour(sky[3], p.g, p.g, p.g, "cloud A 3");
        EXPECT_EQ(sky[3].name, "cloud4");
        p = fieldPlace(t, 5234, 30 * 10 + 1004, 1.5, -2.103);
        expectMatrix(sky[76], v * T(0, 2.196, 0) * T(p.x, p.y, p.z) * S(0.03795) * JAt(0.5 * t, 4634, 3) * R(1340),
                     "star A 10");

        M4 body = v * T(0.192, -0.89, -0.228) * S(-1, 1, 1) * T(2.952, -1.299, 0.2 * (t - 211) - 3.45) *
                  T(-0.15, 0.118, -0.921) * S(6.5) * S(0.28612) * JAt(0.5 * t, 1624, 0.1);
        expectMatrix(sky[103], body * T(0.134, 1.488, 0.024) * S(0.6), "skull of the second figure");
        expectMatrix(sky[105], body * T(0, 0, 0.0213), "ribcagef of the second figure");
        expectColour(sky[104], 0.6, 0.6, 0.6, "the second figure climbing out of the dark");
        EXPECT_EQ(sky[106].kind, "curlPair");
        expectMatrix(sky[106], v * T(0.192, -0.89, -0.228) * S(-1, 1, 1) * T(2.34, -3.072, 0.2 * (t - 211) - 4.357) * S(2),
                     "lines of the second figure");
        EXPECT_NEAR(extra(sky[106], "progress"), 3.6, 1e-9);
        EXPECT_EQ(extra(sky[106], "figure"), 1);

        int w = trunc32(16 * t);
        double x = ease((t - 222) * 0.4) + 0.6 * std::sin(0.72 * 0.0625 * w) - 0.622;
        double y = 0.2 * std::sin(0.95 * 0.0625 * w) - 0.591;
        double z = 0.433 * 5 * ease(0.5 * (t - 230)) + 0.15 * std::sin(0.594 * 0.0625 * w);
        expectMatrix(sky[107], v * T(x, y, z - 0.6) * S(0.35) * J(ft, 1554, 1.2), "balloon");
        expectMatrix(sky[108], v * T(0, 0, -4) * T(-0.3, -0.456, -0.536) * S(3), "moona");
        expectMatrix(sky[109], v * T(0.496, 3.592, 0.426) * T(0, 0, -4) * T(-0.3, 1.544, -1.536) * S(3), "golg");
        EXPECT_EQ(sky[109].ot, 10.0f);
    }
    {
        // From 225 s the fields hold still at their own depths, without shaking.
        float ft = 230;
        double t = ft;
        M4 v = view(ft, 0);
        std::vector<DrawCall> sky = only(at(ft), 52);
        ASSERT_EQ(sky.size(), 196u + 158u);
        Place p = fieldPlace(t, 6234, 30 * 20 + 1000, 1.5, -2.103);
        expectMatrix(sky[53], v * T(-0.15, 0.118, -0.921) * T(p.x, p.y, p.z) * S(0.28612), "cloud B 20");
        p = fieldPlace(t, 5234, 30 * 50 + 1004, 4.5, -2.103);
        expectMatrix(sky[149], v * T(0, 2, -1) * T(0, 2.196, 0) * T(p.x, p.y, p.z) * S(0.03795) *
                                   JAt(0.5 * t, 4674, 3) * R(134 * 50),
                     "star C 50");
        crtSrand(12234);
        skip(30 * 7 + 1004 + 1);
        double r2 = rnd(), r3 = rnd();
        skip(1);
        double size = (1.5 * rnd() + 0.65) * 1.3 * 0.115;
        expectMatrix(sky[179], v * T(0, 4.29, -4.072) * T(0, 2.196, 0) * T(10 * r3 - 5, 8 * r2 - 2.103, 0) * S(size) *
                                   J(ft, 4631, 2.5) * R(134 * 7),
                     "planet 7");
        EXPECT_EQ(sky[179].name, "planet4");
        EXPECT_EQ(sky[179].ot, 1.5f);

        // The chain from 196: seven link pairs, a single pair, seven braids of
        // eight calls, three pairs of waves of five, seven mirrored braids.
        M4 base = chainBase(t, 0);
        expectMatrix(sky[202], base * T(0, 0.035 * 3, -0.3) * T(0, 0, 0.05) * S(1.5), "link pair 3");
        EXPECT_EQ(extra(sky[202], "length"), -0.472);
        EXPECT_EQ(extra(sky[203], "length"), 0);
        expectMatrix(sky[211], base * T(0, 0, 0.09) * S(1.7), "single pair, second link");

        double s = trunc32(24 * t) / 24.0 - 0.087, q = s * 0.7853975 * 4;
        M4 braid2 = base * T(0, 0.1, -0.2);
        ASSERT_EQ(sky[228].kind, "braid");
        expectMatrix(sky[228], braid2, "braid 2");
        EXPECT_NEAR(extra(sky[228], "angle"), 45 * std::sin(q), 1e-6);
        EXPECT_NEAR(extra(sky[228], "phase"), q - 0.18, 1e-6);
        EXPECT_EQ(extra(sky[228], "amplitude"), 60);
        crtSrand(32434);
        skip(21000 + 14);
        double phase = q - 0.18;
        M4 shaken = braid2;
        for (int i = 0; i < 7; i++) {
            phase -= rnd() * 1.12;
            double sine = std::sin(phase);
            double bend = std::pow(std::fabs(sine), 1.4) * (sine > 0 ? 1 : -1) * 60 * ((i + 4) * 1.1 / 12);
            shaken = shaken * J(ft, i, 0.3);
            const DrawCall& link = sky[229 + i];
            expectMatrix(link, shaken, "braid 2, link " + std::to_string(i));
            EXPECT_NEAR(extra(link, "bend"), bend, 1e-6) << i;
            EXPECT_EQ(extra(link, "length"), i == 0 ? 0 : 0.5) << i;
        }

        ASSERT_EQ(sky[283].kind, "wave");  // j = 3, the mirrored one
        expectMatrix(sky[283], base * T(-0.775, 0.15, -0.3) * S(-0.75, 0.75, 0.75), "wave 3, mirrored");
        EXPECT_NEAR(extra(sky[283], "angle"), 0.42 * (20 * std::sin(3 + 2 * 0.7853975 * s) + 50), 1e-6);
        for (int i = 0; i < 4; i++) {
            expectMatrix(sky[284 + i], base * T(-0.775, 0.15, -0.3) * S(-0.75, 0.75, 0.75), "wave link");
            EXPECT_NEAR(extra(sky[284 + i], "bend"), -41.07264, 1e-9);
            EXPECT_EQ(extra(sky[284 + i], "length"), i == 0 ? 0 : 0.45);
        }

        double v6 = std::sin(q);
        if (v6 > 0) v6 = std::pow(v6, 1.3);
        ASSERT_EQ(sky[346].kind, "braid");
        expectMatrix(sky[346], base * T(-0.8, 0, 0) * S(-1, 1, 1) * T(0, 0.3, -0.6), "mirrored braid 6");
        EXPECT_NEAR(extra(sky[346], "angle"), 45 * v6, 1e-6);
    }
    {
        // Replayed, the chain climbs with the camera.
        float ft = 235;
        std::vector<DrawCall> sky = only(at(ft, 1), 52);
        ASSERT_EQ(sky.size(), 354u);
        expectMatrix(sky[196], chainBase(ft, 1) * T(0, 0, 0.05) * S(1.5), "link pair 0, replayed");
    }
    {
        float ft = 245;
        double t = ft;
        M4 v = view(ft, 1);
        std::vector<DrawCall> sky = only(at(ft, 1), 52);
        std::vector<int> drawn = starsOffTheCentre();
        size_t n = drawn.size();
        ASSERT_EQ(sky.size(), 99 + n + 3 + 73 + 13 + 11);
        for (size_t k : {size_t(0), n / 2, n - 1}) {
            int i = drawn[k];
            crtSrand(5234);
            skip(30 * i + 2004);
            double r1 = rnd(), r2 = rnd(), r3 = rnd();
            double y = 1.5 * r2 + (t - 241) * (0.1 * rnd() + 0.3) * 0.5;
            double size = (0.2 * rnd() + 0.13) * 0.3 * 0.115;
            M4 star = v * T(0.543, -2.895, 6.118) * T(0, 2.196, 0) * T(2 * r3 - 1, y, 0.2 * r1 - 0.1) * S(size) *
                      JAt(0.5 * t, 4624 + i, 8) * R(134.0 * i);
            expectMatrix(sky[99 + k], star, "bursting star " + std::to_string(i));
        }

        Vec3 eye = cameraForSceneTime(ft, 1).eye;
        for (int j = -1; j <= 1; j++) {
            const DrawCall& cloud = sky[99 + n + 1 + j];
            expectMatrix(cloud,
                         v * T(0, 0, -4) * T(eye.x + 0.921 * j, eye.y - 0.031 * (t - 241) + 0.067, eye.z + 2.928) *
                             S(0.7),
                         "back cloud " + std::to_string(j));
            EXPECT_EQ(cloud.name, "backcloud3");
            EXPECT_EQ(cloud.ot, j == 0 ? 20.0f : 1.0f);
            double c = j == 0 ? 1 : 0;
            expectColour(cloud, c, c, c, "back cloud");
        }

        int w = trunc32(16 * t);
        double a = (0.6 * std::sin(0.72 * 0.0625 * w) - 0.622) * 0.3;
        double x = ease((t - 222) * 0.4) + a;
        double y = 0.2 * std::sin(0.95 * 0.0625 * w) - 0.591;
        double z = 0.433 * 5 * ease(0.5 * (t - 230)) + 0.15 * std::sin(0.594 * 0.0625 * w);
        expectMatrix(sky[sky.size() - 3],
                     v * T(-0.3, -5.232, -0.261) * T(x, y, z - 0.6) * S(0.35) * T(0, 0.921 * (t - 225), 0) *
                         J(ft, 1554, 1.2),
                     "balloon after 241");

        std::vector<DrawCall> veil = only(at(ft, 1), 53);
        ASSERT_EQ(veil.size(), 1u);
        expectMatrix(veil[0], v * T(0, 0, 4), "veil");
        EXPECT_NEAR(extra(veil[0], "alphaLow"), 0, 1e-9);
        EXPECT_NEAR(extra(veil[0], "alphaHigh"), 1 - ease(0.75), 1e-8);
    }
    {
        float ft = 250;
        Vec3 eye = cameraForSceneTime(ft, 1).eye;
        std::vector<DrawCall> clouds;
        for (const DrawCall& call : only(at(ft, 1), 52))
            if (call.name == "backcloud4") clouds.push_back(call);
        ASSERT_EQ(clouds.size(), 3u);
        expectMatrix(clouds[2], view(ft, 1) * T(0, 0, -4) * T(eye.x + 0.921, eye.y + 0.067 - 0.071, 8.88) * S(0.7),
                     "back cloud 1 after 249");
    }
}

// What the groups leave the generator at: the last layout drawn from. The
// frames are pure: other times, replays and links falling after 251 s in
// between change nothing.
TEST_F(SceneFinale, TheGeneratorEndsWhereTheLastLayoutLeftItAndFramesArePure) {
    struct Case {
        float t;
        int flag;
        unsigned seed;
        int used;
        const char* last;
    };
    const Case cases[] = {
        {172, 0, 4234, 41 + 2, "the second Greek backdrop"},
        {190, 0, 4234, 30 * 92 + 1000 + 3, "the last cloud of bank B"},
        {215, 0, 5234, 30 * 32 + 1004 + 4, "the last star of the climb"},
        {230, 0, 33434, 20000 + 7 * 7, "the mirrored braids"},
        {245, 1, 12234, 30 * 12 + 1004 + 5, "the last planet"},
    };
    for (const Case& c : cases) {
        at(c.t, c.flag);
        int next = crtRand();
        crtSrand(c.seed);
        skip(c.used);
        EXPECT_EQ(next, crtRand()) << c.last;
    }

    auto json = [](const std::vector<DrawCall>& calls) {
        std::string all;
        for (const DrawCall& call : calls) all += drawCallJson(call) + "\n";
        return all;
    };
    std::string first = json(at(230)), firstWall = json(at(201.3f));
    at(260, 1);
    at(236, 1);
    at(180);
    EXPECT_EQ(json(at(230)), first);
    EXPECT_EQ(json(at(201.3f)), firstWall);
}

// The whole show through the time map, every half second of raw time to the
// end, drawn without a GL error and leaving the matrix stacks as found.
TEST_F(SceneFinale, EveryHalfSecondToTheEndWithoutAGLError) {
    // The real figures: an empty frame has no display list to call.
    const char* walking = "%sDemoQTR//walkingnude//%05d.cor";
    testing::internal::CaptureStdout();
    loadClip(part->walk4208, walking, 4208, 1, 2);
    loadClip(part->walk4589, walking, 4589, 1, 2);
    loadClip(part->walk800, walking, 800, 1, 40);
    loadClip(part->walk4502, walking, 4502, 1, 160);
    testing::internal::GetCapturedStdout();
    clearGLErrors();
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    int frames = 0;
    for (int step = 0;; step++) {
        setRawTime(*part, step * 0.5f);
        if (part->sceneTime >= 273) break;
        part->draw();
        frames++;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "raw " << step * 0.5f;
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        EXPECT_EQ(depth, depthBefore) << "raw " << step * 0.5f;
        resetGLState();  // as the main loop does after each part's frame
    }
    EXPECT_EQ(frames, 558);  // raw 0 to 278.5 s; scene time 273 comes at 278.569 s
}
