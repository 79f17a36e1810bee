#include "show/camera_script.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    float t;
    int flag;
    Vec3 eye, center;
};

void expectNear(Vec3 actual, Vec3 expected, const char* what, float t) {
    EXPECT_NEAR(actual.x, expected.x, 2e-4f) << what << " x at " << t;
    EXPECT_NEAR(actual.y, expected.y, 2e-4f) << what << " y at " << t;
    EXPECT_NEAR(actual.z, expected.z, 2e-4f) << what << " z at " << t;
}

}  // namespace

// Values worked out by hand from the script's rows: the opening drift, the
// stepped sideways track, the pendulum, eye moves after the centre is set,
// the eased tracks, the replay framings (flag 1) and the closing pull backs.
TEST(CameraScript, StandsWhereTheScriptSays) {
    const Expected cases[] = {
        {0, 0, {0, 0, 4}, {0, 0, 0}},
        {9, 5, {-0.291f, -0.323f, 2.402f}, {-0.291f, -0.323f, -1.598f}},
        {30, 0, {0.57f, -0.268f, 2.146f}, {0.57f, -0.268f, -1.854f}},
        {45, 0, {-0.326818f, 0.264867f, 3.1372f}, {-0.326818f, 0.264867f, -0.8628f}},
        {57, 0, {-0.071f, 0.039f, 3.711952f}, {-0.071f, 0.039f, -0.966048f}},
        {63, 0, {0.069f, 0.141f, 3.466666f}, {-0.071f, 0.039f, -1.487334f}},
        {79, 0, {0.645f, 0.158f, 3.9136f}, {0.645f, 0.158f, -0.0864f}},
        {81, 0, {0.1f, 0.307f, 3.961f}, {0.1f, 0.307f, -0.039f}},
        {100, 0, {-0.051734f, -1.263111f, 2.395f}, {-0.051734f, -1.263111f, -1.605f}},
        {115, 0, {2.688f, -2.432f, 2.395f}, {2.688f, -2.432f, -1.605f}},
        {130, 0, {0, -2.025302f, 2.395f}, {0, -2.025302f, -1.605f}},
        {137, 0, {-0.071f, -3, 2.433f}, {-0.071f, -3, -1.567f}},
        {143, 1, {-0.079f, -2.929f, 1.89f}, {-0.071f, -3, -1.567f}},
        {209, 0, {0, 0.1f, 3.995039f}, {0, 0.1f, -1}},
        {220, 0, {0, 0.1f, 2.138669f}, {0, 0.1f, -1}},
        {235, 0, {0, 2.6f, 4}, {0, 2.6f, 0}},
        {235, 1, {0, 2.515f, 2.7f}, {-0.102f, 3.041f, -1}},
        {241, 0, {0.417f, -0.339f, 6}, {0.417f, -0.339f, 2}},
        {260, 0, {0.417f, 0.911f, 6.196860f}, {0.417f, 0.911f, 2.196860f}},
    };
    for (const Expected& c : cases) {
        ShowCamera camera = cameraForSceneTime(c.t, c.flag);
        expectNear(camera.eye, c.eye, "eye", c.t);
        expectNear(camera.center, c.center, "center", c.t);
        expectNear(camera.up, {0, 1, 0}, "up", c.t);
    }
}

// The pendulum swings in sixteenths of a second: within one step the eye
// stands still, and over a period of 2 s it comes back.
TEST(CameraScript, PendulumStepsAndRepeats) {
    ShowCamera a = cameraForSceneTime(45.01f, 0), b = cameraForSceneTime(45.05f, 0);
    EXPECT_FLOAT_EQ(a.eye.x, b.eye.x);
    ShowCamera later = cameraForSceneTime(47.01f, 0);
    EXPECT_NEAR(a.eye.x, later.eye.x, 1e-4f);
    EXPECT_NEAR(a.eye.y, later.eye.y, 1e-4f);
    ShowCamera half = cameraForSceneTime(46.01f, 0);
    EXPECT_NEAR(half.eye.x + 0.024f, -(a.eye.x + 0.024f), 1e-4f);  // the far end of the swing
}

TEST(CameraScript, EaseClampsAndIsSymmetric) {
    EXPECT_FLOAT_EQ(ease(-3), 0);
    EXPECT_FLOAT_EQ(ease(0), 0);
    EXPECT_NEAR(ease(0.5f), 0.5f, 1e-6f);
    EXPECT_FLOAT_EQ(ease(1), 1);
    EXPECT_FLOAT_EQ(ease(7), 1);
    EXPECT_NEAR(ease(0.2f) + ease(0.8f), 1.0f, 1e-6f);
}
