// scene_test_kit.h - what the scene tests share: the show window with the
// show's pictures, programs and two real figure clips (the others get their
// frame counts with empty frames), frames traced at chosen scene times, and
// a double-precision column-major matrix to work the groups' matrices out by
// hand from their notes.
#pragma once
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/offline_show.h"
#include "assets/sprite_motion.h"
#include "platform/crt_rand.h"
#include "render/gl_state.h"
#include "show/camera_script.h"
#include "show/clips_loader.h"
#include "show/frame_trace.h"

namespace scene_test {


// Column-major 4 x 4, as GL keeps its matrices; products in double.
struct M4 {
    double m[16];
    static M4 identity() {
        M4 r = {};
        for (int i = 0; i < 4; i++) r.m[i * 5] = 1;
        return r;
    }
    M4 operator*(const M4& b) const {
        M4 r = {};
        for (int c = 0; c < 4; c++)
            for (int row = 0; row < 4; row++)
                for (int k = 0; k < 4; k++) r.m[c * 4 + row] += m[k * 4 + row] * b.m[c * 4 + k];
        return r;
    }
};

inline M4 T(double x, double y, double z) {
    M4 r = M4::identity();
    r.m[12] = x, r.m[13] = y, r.m[14] = z;
    return r;
}
inline M4 S(double x, double y, double z) {
    M4 r = M4::identity();
    r.m[0] = x, r.m[5] = y, r.m[10] = z;
    return r;
}
inline M4 S(double s) { return S(s, s, s); }
inline M4 R(double degrees) {  // about z
    double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
    M4 r = M4::identity();
    r.m[0] = c, r.m[1] = s, r.m[4] = -s, r.m[5] = c;
    return r;
}
inline M4 Ry(double degrees) {
    double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
    M4 r = M4::identity();
    r.m[0] = c, r.m[2] = -s, r.m[8] = s, r.m[10] = c;
    return r;
}

// gluLookAt's matrix.
inline M4 lookAt(Vec3 eye, Vec3 center, Vec3 up) {
    double f[3] = {center.x - eye.x, center.y - eye.y, center.z - eye.z};
    double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    for (double& v : f) v /= fl;
    double s[3] = {f[1] * up.z - f[2] * up.y, f[2] * up.x - f[0] * up.z, f[0] * up.y - f[1] * up.x};
    double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    for (double& v : s) v /= sl;
    double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    M4 r = M4::identity();
    for (int i = 0; i < 3; i++) {
        r.m[i * 4 + 0] = s[i];
        r.m[i * 4 + 1] = u[i];
        r.m[i * 4 + 2] = -f[i];
    }
    return r * T(-eye.x, -eye.y, -eye.z);
}

inline M4 view(float t, int flag) {
    ShowCamera c = cameraForSceneTime(t, flag);
    return lookAt(c.eye, c.center, c.up);
}

// The outer transform of groups 1 to 21.
inline M4 opening() { return S(2, 2, 1) * T(0.048, 0.1, -0.228); }

inline M4 offset(const SpriteOffset& o) { return T(o.translation.x, o.translation.y, o.translation.z) * R(o.turnDegrees); }
inline M4 J(float t, int index, double amplitude) { return offset(jitterOffset(t, index, true, float(amplitude))); }

inline void expectMatrix(const DrawCall& call, const M4& expected, const std::string& what) {
    for (int i = 0; i < 16; i++) EXPECT_NEAR(call.mv[i], expected.m[i], 1e-4) << what << " element " << i;
}

inline double determinant3(const float* m) {
    return m[0] * (m[5] * m[10] - m[9] * m[6]) - m[4] * (m[1] * m[10] - m[9] * m[2]) +
           m[8] * (m[1] * m[6] - m[5] * m[2]);
}

inline std::vector<DrawCall> only(const std::vector<DrawCall>& calls, int group, const std::string& name = "") {
    std::vector<DrawCall> kept;
    for (const DrawCall& call : calls)
        if (call.group == group && (name.empty() || call.name == name)) kept.push_back(call);
    return kept;
}

inline int count(const std::vector<DrawCall>& calls, const std::string& kind, const std::string& name) {
    int n = 0;
    for (const DrawCall& call : calls) n += call.kind == kind && call.name == name;
    return n;
}

inline cv::Mat targetPicture(const RenderTarget& target) {
    cv::Mat pixels(target.height, target.width, CV_8UC4);
    glBindTexture(GL_TEXTURE_2D, target.colourTextures[0]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data);
    return pixels;
}

inline bool samePicture(const cv::Mat& a, const cv::Mat& b) { return cv::norm(a, b, cv::NORM_INF) == 0; }

class SceneTest : public ::testing::Test {
public:
    // The pictures, the programs and the two figure clips the opening
    // composites; the other clips get their frame counts with empty frames.
    static void SetUpTestSuite() {
        if (part) return;  // one show window per process, whichever suite comes first
        testing::internal::CaptureStdout();
        bool opened = openShowWindow(1280, 720);
        if (opened) {
            part = newShowPart();
            loadClipsPictures(*part);
            part->buildShaders();
            loadClip(part->walk4800, "%sDemoQTR//walkingnude//%05d.cor", 4800, 1, 10);
            loadClip(part->nude300, "%sDemoQTR//nude2//%05d.cor", 300, 4, 20);
            part->walk4208.frames.resize(2);
            part->walk4589.frames.resize(2);
            part->walk4502.frames.resize(160);
            part->walk800.frames.resize(40);
        }
        testing::internal::GetCapturedStdout();
    }
    static void loadClip(MeshSequence& clip, const char* format, int first, int step, int count) {
        clip.frames.resize(count);
        loadMeshSequence(clip, format, first, step, {});
        for (MeshFrame& frame : clip.frames) uploadMeshFrame(frame, true, false);
    }
    // The suites share the window, and the kit's clips past the first two
    // have empty frames whose display list (0) the driver refuses with an
    // error: each test starts with none recorded, so its own checks see
    // only its own draws.
    void SetUp() override {
        if (!part) GTEST_SKIP() << "no show window";
        clearGLErrors();
    }
    static std::vector<DrawCall> at(float sceneTime, int flag = 0) { return traceAt(sceneTime, flag).calls; }
    static DrawTrace traceAt(float sceneTime, int flag = 0) {
        setSceneTime(*part, sceneTime, flag);
        return traceFrame(*part);
    }
    // A raw show time through the time map; part->sceneTime and timeFlag tell
    // where it landed.
    static DrawTrace traceRaw(float rawTime) {
        setRawTime(*part, rawTime);
        return traceFrame(*part);
    }
    static Part_Clips* part;
};
inline Part_Clips* SceneTest::part = nullptr;

}  // namespace scene_test
