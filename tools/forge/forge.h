// Making the show's picture files.
#pragma once
#include "recipes.h"

#include <opencv2/core.hpp>
#include <string>
#include <vector>

// The finished picture of one recipe (BGR), the same bytes on every run.
cv::Mat forgePicture(const Recipe& recipe, const std::string& clipartDir);

// Which recipe makes a file of the show ("torvanel/back3.jpg" -> "backanimals").
std::string recipeNameFor(const std::string& file);

// The picture encoded for its file's extension with fixed settings.
std::vector<uchar> encodePicture(const cv::Mat& picture, const std::string& file);

// Writes every file of the show under resourcesDir; returns how many failed.
int forgeAll(const std::string& clipartDir, const std::string& resourcesDir);
