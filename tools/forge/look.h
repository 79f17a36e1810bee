// The one treatment every picture gets, so clip art and procedural drawings
// read as one printed-paper collage.
//
// Cut-outs are drawn on the key colour, pure green (B, G, R = 0, 255, 0),
// which the clip shader removes; no content pixel has its green more than
// kKeyMargin above both red and blue. Whole pictures contain no key colour.
#pragma once
#include <opencv2/core.hpp>
#include <cstdint>

const cv::Vec3b kKeyColour(0, 255, 0);
const int kKeyMargin = 60;

enum class Holes { Keep, FillSmall, FillAll };

// A drawing (BGRA, straight alpha) as a paper cut-out: engraved print look,
// a thin irregular paper edge around the shape, key colour elsewhere and a
// key-coloured border all round.
cv::Mat cutOut(const cv::Mat& bgra, uint32_t seed, Holes holes);

// A full-frame picture (BGR) in the same print look.
cv::Mat wholePicture(const cv::Mat& bgr, uint32_t seed);

// Smooth noise in [0, 1], features about `cell` pixels wide.
cv::Mat smoothNoise(cv::Size size, int cell, uint32_t seed);
