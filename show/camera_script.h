// camera_script.h - where the show's camera stands at each scene time.
//
//   ShowCamera camera = cameraForSceneTime(part.time, part.timeFlag);
//   gluLookAt(camera.eye.x, ..., camera.center.x, ..., camera.up.x, ...);
//
// The script is a list of moves, each taking over from its start time and
// building on the moves before it. Most moves "look ahead": the camera looks
// straight down -z, 4 m in front of the eye. Flag 1 marks a replayed stretch
// of scene time, which some moves frame differently.
#pragma once
#include "render/math.h"
#include "render/motion.h"

struct ShowCamera {
    Vec3 eye;  // the scenes read this as the camera offset
    Vec3 center;
    Vec3 up;
};

ShowCamera cameraForSceneTime(float t, int timeFlag);
