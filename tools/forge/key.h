// The soft key: how a texel of a cut-out says how much of it is paper.
//
// Textures reach the clip shader as RGB, so the shape rides on the green
// channel. d = green - max(red, blue): paper and ink keep d at or below
// kInkGreen; on the cut edge d runs from kKeyFrom (all paper) to kKeyTo (all
// background) along a smoothstep; pure green is background. A texel with d
// above 0 is darkened by (1 - d), which leaves an edge texel room for d under
// white, and the shader brightens every texel back by the same rule, also
// the ones the sampler blends between paper and edge; from kEdgeFrom on it
// takes the green out as key. Resources/shaders/f_clip.cpp reads the key
// with the same numbers.
#pragma once
#include <opencv2/core.hpp>

const cv::Vec3b kKeyColour(0, 255, 0);  // B, G, R
const float kInkGreen = 0.08f;
const float kEdgeFrom = kInkGreen;
const float kKeyFrom = 0.25f, kKeyTo = 0.5f;

// The shader's coverage of a texel (B, G, R bytes): 1 paper, 0 background.
float keyCoverage(cv::Vec3b texel);

// Coverage from which a texel is written whole: the key's slope is too flat
// there for eight bits to tell the difference.
const float kWhole = 0.99f;

// The texel that shows `colour` (B, G, R in 0..1) at `coverage`.
cv::Vec3b keyedTexel(cv::Vec3f colour, float coverage);

// The colour (B, G, R in 0..1) the shader takes from a texel.
cv::Vec3f shownColour(cv::Vec3b texel);
