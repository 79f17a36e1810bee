#include "show/camera_script.h"
#include "render/pi.h"

#include <cmath>
#include <initializer_list>


static void lookAhead(ShowCamera& c) { c.center = {c.eye.x, c.eye.y, c.eye.z - 4.0f}; }

// The eye's depth offsets of the 209 s act: a push in, then a pull back.
static float pushIn(float t) { return 1.02f * (1.0f - ease(0.5f * (t - 208.8f))); }
static float pullBack(float t) { return 3.0f * (1.0f - ease(0.2f * (t - 216.8f))); }

ShowCamera cameraForSceneTime(float t, int timeFlag) {
    ShowCamera c = {{0, 0, 4}, {0, 0, 0}, {0, 1, 0}};
    Vec3& eye = c.eye;
    float z21 = 0, z41 = 0;

    // The opening: drifting in on the first pictures.
    if (t >= 9) {
        eye = {-0.291f, -0.323f, 2.402f - 0.134f * (t - 9)};
        lookAhead(c);
    }
    if (t >= 13) {
        eye = {-0.291f, -0.158f, 2.402f - 0.669f + 0.213f * (t - 13)};
        lookAhead(c);
    }
    if (t >= 17) {
        eye = {-0.291f, -0.103f, 2.402f - 0.669f + 0.213f * (t - 17)};
        lookAhead(c);
    }
    if (t >= 21) {
        z21 = 2.961f - 0.03f * (t - 17) - 0.669f;
        eye = {-0.291f, -0.103f, z21};
        lookAhead(c);
    }
    if (t >= 25) {
        // Sideways in sixth-of-a-second steps, like a hand-moved camera.
        float q = std::trunc(6 * t) / 6;
        eye = {-0.291f - 0.339f + q * (t - 25) * 0.008f, -0.268f, z21 + 0.244f};
        lookAhead(c);
    }
    if (t >= 33) {
        float q = std::trunc(6 * t) / 6;
        eye = {-0.291f - 0.339f - 1.164f + q * (t - 25) * 0.008f, 0.055f, z21 + 0.614f};
        lookAhead(c);
    }
    if (t >= 41) {
        z41 = 3.0f - 0.307f * 0.1f * (t - 41);
        eye = {0, 0, z41};
        lookAhead(c);
    }
    if (t >= 45) {
        // A pendulum about (-0.024, 1.395): 16 steps a second, a 2 s period.
        float degrees = 15.0f * std::sin(std::trunc(16 * t) * PI_FLOAT / 16 + 1.570795f);
        float a = degrees * PI_FLOAT / 180.0f;
        eye = {-0.024f + 1.17f * std::sin(a), 1.395f - 1.17f * std::cos(a), z41 + 0.26f};
        lookAhead(c);
    }
    if (t >= 49) {
        eye = {-0.071f, 0.039f, 3.0f - 0.307f * 0.283f * (t - 49) + 1.0f - 0.137f - 0.134f};
        lookAhead(c);
        if (t >= 57) eye.z += 0.678f;
        if (t >= 61) {
            eye.z += 0.276f;
            eye.x = 0.2f * (t - 61) - 0.26f - 0.071f;
            eye.y += 0.102f;
        }
    }
    if (t >= 65) {
        eye = {0.032f, 0.096f, 3.056f + 0.024f * (t - 65)};
        lookAhead(c);
    }
    if (t >= 73) {
        eye = {0.071f + 0.118f * (t - 73), 0.134f, 3.935f};
        if (t >= 77) {
            eye.z -= 0.244f;
            eye.x += 0.134f - 0.134f * (t - 77);
            eye.y += 0.024f;
            eye.z += 0.339f - 0.2f * 0.291f * (t - 77);
        }
        lookAhead(c);
    }
    if (t >= 81) {
        float y81 = 0.307f - 0.082f * (t - 81);
        eye = {0.1f, y81, 3.961f};
        c.center = {0.1f, y81, -0.039f};
        if (t >= 85) {
            eye.y += 0.575f * 0.2f * (t - 85);
            eye.z += 0.339f - 0.102f * (t - 85);
        }
    }
    if (t >= 89) {
        eye = {0.09f - 0.843f + 0.071f * (t - 89), 0.3f, 3.961f};
        c.center = {eye.x, 0.3f, -0.039f};
    }
    if (t >= 97) {
        // Sinking, then eased over towards a second track that bends at 113 s.
        eye = {-0.008f, 0.48f - 0.496f - 0.3f * (t - 97), 2.395f};
        float b = -0.008f + 0.19f * (t - 101);
        float a = -2.424f;
        if (t >= 113) {
            b += 0.018f * (t - 113);
            a = -2.424f - 0.244f + 0.118f * (t - 113);
        }
        float e = ease(0.22f * (t - 100 - 2.552f + 4));
        eye.y += e * (a - eye.y);
        eye.x += e * (b - eye.x);
        lookAhead(c);
    }
    if (t >= 121) {
        eye = {0, static_cast<float>(-2 * 4 * 0.654f * 0.543f * ease(0.08f * (t - 122))), 2.395f};
        lookAhead(c);
    }
    if (t >= 137) {
        eye = {-0.071f, -3.0f, 2.433f};
        c.center = {-0.071f, -3.0f, -1.567f};
        if (timeFlag == 1) {
            eye.x -= 0.008f;
            eye.y += 0.071f;
            eye.z -= 0.543f;
        }
    }
    if (t >= 145) {
        eye = {-0.047f, -2.299f, 2.433f + 0.354f + 0.07f * (t - 145)};
        lookAhead(c);
    }
    if (t >= 153) {
        eye = {-0.047f, -2.198f, 2.433f - 0.363f - 0.045f * (t - 145)};
        if (t >= 157) {
            eye.z -= 0.449f;
            eye.y += 0.213f;
        }
        lookAhead(c);
    }
    if (t >= 161) {
        eye = {-0.071f, 0.078f, 2.795f};
        c.center = {-0.071f, 0.078f, -1.205f};
    }
    if (t >= 169) {
        eye = {0.323f * 0.5f * (t - 169) - 0.071f, 0.078f + 0.05f * (t - 169), 2.031f};
        lookAhead(c);
    }
    if (t >= 177) {
        eye = {0.323f * 0.55f * (t - 169) - 0.071f, 0.078f, 2.031f};
        c.center = {eye.x, 0.078f, -1.969f};
    }
    if (t >= 209) {
        eye = {0, 0.1f, 3};
        lookAhead(c);
        eye.z += pushIn(t);
        if (t >= 217) eye.z -= pullBack(t);
    }
    if (t >= 225) {
        eye = {0, 0.1f + 0.25f * (t - 225), 4};
        lookAhead(c);
        eye.y -= 1.3f * (1.0f - ease(0.2f * (t - 225)));
        eye.z += pushIn(t) - pullBack(t);
        if (timeFlag == 1) {
            eye.z += 0.5f * (t - 233) - 2.3f;
            eye.y += -0.181f + 0.096f;
            c.center.x -= 0.102f;
            c.center.y += -0.181f + 0.622f;
            c.center.z -= 1.0f;
        }
    }
    if (t >= 241) {
        eye = {0.417f, 0.25f * (t - 241) - 0.339f, 6};
        c.center = {0.417f, eye.y, 2};
    }
    // The last three acts each restart the same slow pull back.
    for (float start : {249.0f, 257.0f, 265.0f})
        if (t >= start) {
            eye = {0.417f, 0.911f, 6 + 0.386f * 0.17f * (t - start)};
            lookAhead(c);
        }
    return c;
}
