#include "render/picture.h"

#include <GL/glew.h>

#include <cstring>
#include <opencv2/imgcodecs.hpp>

#include "render/jpeg_decode.h"

static uint32_t bigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
static int bigEndian16(const uint8_t* p) { return p[0] << 8 | p[1]; }

static bool pngSize(const uint8_t* b, size_t size, int* width, int* height) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (size < 24 || memcmp(b, signature, 8) != 0 || memcmp(b + 12, "IHDR", 4) != 0) return false;
    uint32_t w = bigEndian32(b + 16), h = bigEndian32(b + 20);
    if (w > 0x7fffffff || h > 0x7fffffff) return false;
    *width = int(w);
    *height = int(h);
    return true;
}

// The frame header (SOFn) holds the size; markers before it are skipped by
// their lengths. Scans stop at the image data (SOS) or the end.
static bool jpegSize(const uint8_t* b, size_t size, int* width, int* height) {
    if (size < 4 || b[0] != 0xff || b[1] != 0xd8) return false;
    size_t at = 2;
    while (at + 4 <= size) {
        if (b[at] != 0xff) return false;
        uint8_t marker = b[at + 1];
        if (marker == 0xff) {  // fill byte
            at++;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8)) {  // no length
            at += 2;
            continue;
        }
        if (marker == 0xd9 || marker == 0xda) return false;  // the end, or data before any frame
        size_t length = size_t(bigEndian16(b + at + 2));
        if (length < 2) return false;
        bool frame = marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
        if (frame) {
            if (length < 7 || at + 9 > size) return false;
            *height = bigEndian16(b + at + 5);
            *width = bigEndian16(b + at + 7);
            return true;
        }
        at += 2 + length;
    }
    return false;
}

bool readPictureSize(const uint8_t* bytes, size_t size, int* width, int* height) {
    return pngSize(bytes, size, width, height) || jpegSize(bytes, size, width, height);
}

cv::Mat decodePicture(const uint8_t* bytes, size_t size, int flags, int maxSide, std::string* error) {
    int width = 0, height = 0;
    if (!readPictureSize(bytes, size, &width, &height)) {
        *error = "not a PNG or JPEG picture";
        return cv::Mat();
    }
    if (width <= 0 || height <= 0) {
        *error = "picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
        return cv::Mat();
    }
    if (int64_t(width) * height > PICTURE_PIXEL_BUDGET || (maxSide > 0 && (width > maxSide || height > maxSide))) {
        *error = "picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is too large";
        return cv::Mat();
    }
    // Colour JPEGs, most of the show's pictures, skip OpenCV's channel swap.
    if ((flags == cv::IMREAD_COLOR || flags == cv::IMREAD_UNCHANGED) && bytes[0] == 0xff) {
        cv::Mat picture;
        JpegDecodeResult result = decodeJpegBgr(bytes, size, flags == cv::IMREAD_COLOR, &picture, error);
        if (result != JPEG_NOT_HANDLED) return picture;
    }
    try {
        cv::Mat encoded(1, int(size), CV_8UC1, const_cast<uint8_t*>(bytes));
        cv::Mat picture = cv::imdecode(encoded, flags);
        if (picture.empty()) *error = "picture cannot be decoded";
        return picture;
    } catch (const std::exception& e) {  // OpenCV's, or running out of memory
        std::string what = e.what();
        for (char& c : what)
            if (c == '\n' || c == '\r') c = ' ';
        *error = "picture cannot be decoded: " + what;
        return cv::Mat();
    }
}

cv::Mat decodePicture(const std::vector<uint8_t>& bytes, int flags, int maxSide, std::string* error) {
    return decodePicture(bytes.data(), bytes.size(), flags, maxSide, error);
}

int maxTextureSide() {
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side > 0 ? side : 1024;  // the least every GL has
}
