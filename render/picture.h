// picture.h - a picture file's bytes decoded only after its header has been
// checked: PNG or JPEG, sides and pixel count within bounds, so a picture
// that claims 20000 x 20000 pixels is refused before anything is allocated.
//
//   std::string why;
//   cv::Mat bgr = decodePicture(bytes, cv::IMREAD_COLOR, maxTextureSide(), &why);
//   if (bgr.empty()) printf("loadTexture - %s - %s\n", path, why.c_str());
#pragma once
#include <cstddef>
#include <cstdint>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

// The largest picture the show decodes: far above any of its own pictures.
constexpr int64_t PICTURE_PIXEL_BUDGET = 16 * 1024 * 1024;

// The size a PNG or JPEG header claims; false for other or truncated data.
bool readPictureSize(const uint8_t* bytes, size_t size, int* width, int* height);

// Decodes with OpenCV's `flags` after the header check. maxSide 0 leaves the
// sides unbounded but for the pixel budget. Empty, with the reason, on
// failure; never throws.
cv::Mat decodePicture(const std::vector<uint8_t>& bytes, int flags, int maxSide, std::string* error);
cv::Mat decodePicture(const uint8_t* bytes, size_t size, int flags, int maxSide, std::string* error);

// GL_MAX_TEXTURE_SIZE of the current context. Main thread, with GL.
int maxTextureSide();
