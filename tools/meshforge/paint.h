// paint.h - the picture that textures a figure, printed like the collage's
// other cut-outs: flat colours (skin, a one-piece bathing costume, hair),
// ink where the colours meet and for the face, an uneven paper under it all.
// No light is painted in: the object program prints the shadow as a second
// flat tone and inks the outline. Painted on the rest figure, so it holds
// still on the body.
//
//   cv::Mat canvas = paintFigure(mesh, body);          // once per figure (the slow part)
//   cv::Mat picture = framePicture(canvas, 4520);      // 512 x 1024 B, G, R bytes
//
// Each frame gets its own grain, the small boil of a stop-motion print.
// Same picture for the same file number.
#pragma once
#include <opencv2/core.hpp>

#include "figure.h"

// The printer's ink: the seams, the face's lines. B, G, R.
const cv::Vec3f INK_COLOUR(0.10f, 0.08f, 0.09f);

// CV_32FC3, B, G, R in 0..1.
cv::Mat paintFigure(const FigureMesh& mesh, const Body& body);
cv::Mat framePicture(const cv::Mat& canvas, int fileNumber);
