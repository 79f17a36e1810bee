// Clip art comes with its own outline round the shape, from none to a thick
// cartoon line. The look draws one contour of its own, so a drawing's dark
// outer band is painted over with the colour just inside it first.
#pragma once
#include <opencv2/core.hpp>

// `drawing` is BGRA; `inside` (CV_32F) is each texel's distance to the
// outside of the shape. Returns the drawing with its outline band repainted,
// or unchanged when it has none (a silhouette, a thin line drawing).
cv::Mat withoutOutline(const cv::Mat& drawing, const cv::Mat& inside);
