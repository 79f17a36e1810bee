// The one treatment every picture gets, so clip art and procedural drawings
// read as one printed-paper collage: tones printed in the ink-and-paper
// palette, an engraving screen in the shadows, paper grain, and for cut-outs
// one ink contour round the drawing and a scissor-cut paper rim whose edge
// fades out over a pixel or two in the soft key (key.h).
//
// Screens and grain are sized for where the show draws the picture: `scale`
// is texels per screen pixel at 1080p, so they land at the same size on
// screen whatever the picture's own size.
#pragma once
#include "palette.h"

#include <opencv2/core.hpp>
#include <cstdint>

enum class Holes { Keep, FillSmall, FillAll };

struct Print {
    uint32_t seed;
    float scale;
    Accent accent;
    Holes holes;     // cut-outs: which gaps in the drawing get paper
    bool repeats;    // whole pictures drawn side by side: screens and grain wrap round
};

// A drawing (BGRA, straight alpha) as a paper cut-out on the key, with a
// key-coloured border all round and sides padded to multiples of 4.
cv::Mat cutOut(const cv::Mat& bgra, const Print& print);

// A full-frame picture (BGR) in the same print look; no key colour in it.
cv::Mat wholePicture(const cv::Mat& bgr, const Print& print);

// Smooth noise in [0, 1], features about `cell` pixels wide; when `wraps`,
// the right edge runs on into the left and the bottom into the top.
cv::Mat smoothNoise(cv::Size size, int cell, uint32_t seed, bool wraps = false);
