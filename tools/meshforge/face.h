// face.h - the face and ears printed on the head in the engraving's line:
// arched brows, lidded eyes with a dark iris and a catch of light, the
// nose's side and wings, a bowed mouth with tinted lips, an ear on each
// side for the heads seen in profile.
//
//   cv::Vec3f c = paintFace(skin, p, n, body);   // p, n: a rest point of the head and its outward direction
//
// Drawn on the front view of the rest head (x across, y up, in mm), the
// ears on its side view; the lines are a millimetre or two wide, so they
// hold from a whole figure down to a head filling the screen.
#pragma once
#include <opencv2/core.hpp>

#include "figure.h"

cv::Vec3f paintFace(cv::Vec3f skin, Vec3 p, Vec3 n, const Body& body);
