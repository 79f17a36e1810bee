// A contact sheet of every picture the way the show draws it, for a look
// after each change: cut-outs read through the soft key, each picture once on
// a checkerboard and once on the paper colour, labelled by its key; the
// loading screen in a 16:9 window.
#pragma once
#include <opencv2/core.hpp>
#include <string>

cv::Mat contactSheet(const std::string& resourcesDir);
