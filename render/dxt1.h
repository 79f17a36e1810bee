// dxt1.h - pictures compressed to DXT1 (S3TC, 4 bits a pixel) for textures:
// one eighth of the memory of the RGBA the driver stores otherwise, and an
// upload that is a copy.
//
//   std::vector<uint8_t> blocks = encodeDxt1(bgr);   // any thread
//   uploadDxt1(texture, blocks, bgr.cols, bgr.rows); // main thread, with GL
#pragma once
#include <cstdint>
#include <opencv2/core.hpp>
#include <vector>

// 8-bit B, G, R to DXT1 blocks, rows of 4 x 4 pixel blocks from the top;
// edges of a picture whose sides are not multiples of 4 repeat the last row
// or column. Each block's two colours span its pixels' range, pulled in a
// little, and each pixel takes the nearest of the four colours between them.
std::vector<uint8_t> encodeDxt1(const cv::Mat& bgr);

// The bytes a width x height DXT1 picture takes.
size_t dxt1Size(int width, int height);

// Decodes blocks back to B, G, R (for checking the picture's quality).
cv::Mat decodeDxt1(const std::vector<uint8_t>& blocks, int width, int height);
