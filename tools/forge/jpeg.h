// JPEG files with every channel at full resolution (4:4:4). Halved chroma,
// which OpenCV's writer always uses, smears the key green into a cut-out's
// edge.
#pragma once
#include <opencv2/core.hpp>
#include <vector>

// A BGR picture as JPEG bytes at `quality` (1..100); the same bytes every run.
std::vector<uchar> encodeJpeg(const cv::Mat& bgr, int quality);
