#include "assets/sprite_motion.h"

#include <GL/glew.h>

#include <algorithm>
#include <climits>

#include "render/noise.h"

float stepped(float x, float stepsPerUnit) {
    float scaled = x * stepsPerUnit;
    // The float-to-int conversion of the x86 instruction, without the
    // undefined behaviour of a C++ cast out of range (NaN lands here too).
    int whole = (scaled > -2147483648.0f && scaled < 2147483648.0f) ? static_cast<int>(scaled) : INT_MIN;
    return static_cast<float>(whole) / stepsPerUnit;
}

SpriteOffset jitterOffset(float time, int index, bool rotate, float amplitude) {
    float q = stepped(std::max(time, 0.0f), 10.0f);
    float i = static_cast<float>(index);
    float shakeY = noise(q * 624.0f + i, 1.3f, 0.5f);
    float shakeX = noise(q * 311.0f + i, 1.6f, 0.5f);
    float turn = rotate ? noise(q * 120.0f + i, 0.5f, 0.5f) : 0.0f;
    return {{0.04f * amplitude * shakeX, 0.06f * amplitude * shakeY, 0.0f}, 20.0f * amplitude * turn};
}

void jitter(float time, int index, bool rotate, float amplitude) {
    SpriteOffset o = jitterOffset(time, index, rotate, amplitude);
    glTranslatef(o.translation.x, o.translation.y, o.translation.z);
    if (rotate) glRotatef(o.turnDegrees, 0, 0, 1);
}

SpriteOffset pathMoveOffset(Vec3 from, Vec3 to, float rate, float progress, int index, float spin) {
    float pathSteps = 10.0f / rate;
    float clockSteps = 5.0f / rate;
    float s = stepped(std::min(std::max(progress, 0.0f), 1.0f), pathSteps);
    float k = stepped(std::max(progress, 0.0f), clockSteps);

    Vec3 d = (from - to).normalized();
    Vec3 e = Vec3{-d.y, d.x, 0.0f}.normalized();
    float i = static_cast<float>(index);
    float sideA = noise(k * 164.0f + i, 0.3f, 0.5f);
    float sideB = noise(s * 624.0f + i, 1.3f, 0.5f);
    float along = noise(k * 34.3f + i, 0.7f, 0.5f);
    float turn = noise(k * 120.0f + i, 0.5f, 0.5f);

    Vec3 position = from;
    position += (to - from) * s;
    position += e * 0.04f * sideA;
    position += d * 0.04f * along;
    // The sideways sway dies once the sprite has arrived.
    if (s < 0.99f) position += e * 0.06f * sideB;
    return {position, turn * 20.0f * spin};
}

void pathMove(Vec3 from, Vec3 to, float rate, float progress, int index, float spin) {
    SpriteOffset o = pathMoveOffset(from, to, rate, progress, index, spin);
    glTranslatef(o.translation.x, o.translation.y, o.translation.z);
    glRotatef(o.turnDegrees, 0, 0, 1);
}
