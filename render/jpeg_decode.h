// jpeg_decode.h - JPEG pictures decoded by libjpeg straight into B, G, R
// rows: the pixels OpenCV's decoder gives, without its byte-by-byte channel
// swap, which took a tenth of the show's loading time.
//
//   cv::Mat bgr;
//   std::string why;
//   if (!decodeJpegBgr(bytes, size, &bgr, &why)) { ... why ... }
#pragma once
#include <cstddef>
#include <cstdint>
#include <opencv2/core.hpp>
#include <string>

// What decodeJpegBgr made of the data.
enum JpegDecodeResult {
    JPEG_DECODED,     // *bgr holds the picture
    JPEG_FAILED,      // damaged data: *error says why
    JPEG_NOT_HANDLED  // colours or orientation this path leaves to OpenCV
};

// Decodes a baseline or progressive JPEG whose colours are YCbCr, RGB or,
// when greyToBgr, grey. Pictures in other colour spaces (CMYK) or with Exif
// data (which may turn the picture) are not handled. Check the size first
// (decodePicture does): this allocates what the header claims. Never throws.
JpegDecodeResult decodeJpegBgr(const uint8_t* bytes, size_t size, bool greyToBgr, cv::Mat* bgr, std::string* error);
