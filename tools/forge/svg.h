// Rendering one clip-art drawing (or part of it) to pixels with librsvg.
#pragma once
#include <opencv2/core.hpp>
#include <string>

struct SvgCut {
    const char* path = nullptr;      // relative to the clip-art folder
    float box[4] = {0, 0, 0, 0};     // x y w h in the file's user units; w = 0: none
    const char* element = nullptr;   // render only this element id, fitted to its ink
    int keepFrom = 0, keepTo = 0;    // if set: hide drawables whose id is not pathN, from <= N <= to
};

// BGRA with straight alpha, longest side `size` pixels. Empty on failure,
// after one line on stderr.
cv::Mat renderSvg(const std::string& clipartDir, const SvgCut& cut, int size);
