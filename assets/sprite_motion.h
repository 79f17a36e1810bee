// sprite_motion.h - the noise shake and the noisy straight path that place
// every cut-out, in stop-motion steps.
//
//   glPushMatrix();
//   pathMove({0, -3, 0}, {0, 0, 0}, 1, progress, 0, 1);  // rise, wobbling
//   jitter(t, 43, true, 1);                               // shake and turn
//   image->draw();
//   glPopMatrix();
//
// The GL forms multiply onto the current matrix (glTranslatef, glRotatef);
// the Offset forms return the same translation and turn for code without GL.
#pragma once
#include "render/math.h"

struct SpriteOffset {
    Vec3 translation;
    float turnDegrees;  // about z, after the translation
};

// trunc(x * stepsPerUnit) / stepsPerUnit: the stop-motion step. trunc goes
// toward zero and gives INT_MIN outside the int range, as the show's
// conversions always have.
float stepped(float x, float stepsPerUnit);

// Changes ten times a time unit; negative times shake as time 0. Without
// rotate the turn is 0 and the GL form does not rotate at all.
SpriteOffset jitterOffset(float time, int index, bool rotate, float amplitude);
void jitter(float time, int index, bool rotate, float amplitude);

// From `from` towards `to` as progress goes 0..1, in steps of rate / 10,
// wobbling sideways and along the path on a clock of rate / 5 steps that
// keeps running past 1. Equal points leave only the wobble-free position
// `from` and the turn.
SpriteOffset pathMoveOffset(Vec3 from, Vec3 to, float rate, float progress, int index, float spin);
void pathMove(Vec3 from, Vec3 to, float rate, float progress, int index, float spin);
