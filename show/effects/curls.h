// curls.h - the coloured lines of the late scenes: the curls the taps pour
// (184 to 209 s) and the six lines that breathe round each of the two
// ribcage figures (from 212 s).
//
//   glPushMatrix();
//   glTranslatef(-0.827f, -0.669f, -0.008f);  // the tap's spout
//   drawCurl(t, k, std::max(0.0, t - 192 - 0.9 * k));
//   glPopMatrix();
//
// Both draw with texturing off and no program (the caller leaves none in
// use), shaking at the show time t, and leave the colour of their last line
// current. Paths are built afresh in every call.
#pragma once

constexpr int CURL_COLOUR_COUNT = 6;

struct CurlColour {
    float r, g, b;
};

// Colour k: red, yellow, green, cyan, magenta, pink for 0..5, lightened 30 %
// towards white; white outside 0..5.
CurlColour curlColour(int k);

// Line k's curl (k = 0..5, anything else draws nothing): a straight stroke
// 2.5 long downwards, then a spiral. It unrolls in 1/16 steps of progress
// and is whole from progress 1/0.134.
void drawCurl(float t, int k, double progress);

// The six lines round ribcage figure `figure` (0, or 1 for the second, whose
// breathing runs 2 s behind): one path per line, bent by the music from
// 212 s, drawn from 0 up to progress (whole from 1/0.134), the far ends
// rising out of the picture plane.
void drawCurlPair(float t, double progress, int figure);
