// paint.h - the picture that textures a figure, in the show's cut-out
// collage look: skin laid in streaky brush strokes, flushed at the joints,
// ink hatching on the sides turned from the light, face and hair marks,
// paper grain. Painted on the rest figure, so it holds still on the body.
//
//   Canvas canvas = paintFigure(mesh, body);           // once per figure (the slow part)
//   cv::Mat picture = framePicture(canvas, 4520);      // 512 x 1024 B, G, R bytes
//
// Each frame redraws the hatching and the grain with its own jitter, the
// small boil of a stop-motion print. Same picture for the same file number.
#pragma once
#include <opencv2/core.hpp>

#include "figure.h"

struct Canvas {
    cv::Mat colour;   // CV_32FC3 B, G, R in 0..1
    cv::Mat density;  // CV_32F: how much ink the hatching lays down, 0..1
};

Canvas paintFigure(const FigureMesh& mesh, const Body& body);
cv::Mat framePicture(const Canvas& canvas, int fileNumber);
