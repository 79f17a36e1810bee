// The one ink-and-paper palette every picture is printed in: a tone from 0
// (ink) to 1 (paper) picks a colour on a warm ramp; a picture may add one
// accent colour, laid only where the drawing had that hue, and never
// stronger than the cap, so nothing jumps out of the sepia.
#pragma once
#include <opencv2/core.hpp>

enum class Accent { None, Vermilion, Crimson, Ochre, Orange, Slate, Sage, Teal, Plum, Terracotta };

// Colours are B, G, R in 0..1.
cv::Vec3f paperColour();
cv::Vec3f inkColour();

// The palette's colour for a tone in 0..1.
cv::Vec3f toneColour(float tone);

// A drawing's colour printed in the palette at `tone`, with the accent where
// the drawing's own colour has the accent's hue.
cv::Vec3f printColour(cv::Vec3f drawn, float tone, Accent accent);

// Rec. 601 luma of a B, G, R colour.
float luma(cv::Vec3f bgr);
