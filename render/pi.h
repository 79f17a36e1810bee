// pi.h - the four values of pi the show computes with.
//
// Each stays as its computations were first written: a layout or a motion
// worked out with one value lands a hair away with another, and the draw
// trace (and the tests' hand-worked matrices) would tell.
#pragma once

// Rotations and the perspective in render/math and the camera script's
// sway: single precision throughout.
constexpr float PI_FLOAT = 3.1415927f;
// The scene groups' notes: full double precision.
constexpr double PI_DOUBLE = 3.14159265358979323846;
// ease(), and the stage, empty-room and second-cave groups' angles.
constexpr double PI_TEN_PLACES = 3.1415926535;
// hop(): the once-a-second bounce.
constexpr double PI_SEVEN_PLACES = 3.1415926;
