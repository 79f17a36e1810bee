// Pictures are checked by their headers before a pixel is decoded.
#include "render/picture.h"

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>

#include "tests/render/picture_bombs.h"

namespace {

std::vector<uint8_t> encoded(const char* extension, int width, int height) {
    std::vector<uint8_t> bytes;
    cv::imencode(extension, cv::Mat(height, width, CV_8UC3, cv::Scalar(10, 200, 30)), bytes);
    return bytes;
}

}  // namespace

TEST(Picture, HeadersTellTheSize) {
    for (const char* extension : {".png", ".jpg"}) {
        std::vector<uint8_t> bytes = encoded(extension, 37, 11);
        int width = 0, height = 0;
        ASSERT_TRUE(readPictureSize(bytes.data(), bytes.size(), &width, &height)) << extension;
        EXPECT_EQ(width, 37);
        EXPECT_EQ(height, 11);
        std::string why;
        cv::Mat picture = decodePicture(bytes, cv::IMREAD_COLOR, 0, &why);
        EXPECT_EQ(picture.cols, 37) << why;
    }
    int width = 0, height = 0;
    EXPECT_TRUE(readPictureSize(jpegClaiming(65000, 60000).data(), 8192, &width, &height));
    EXPECT_EQ(width, 65000);
    EXPECT_EQ(height, 60000);
}

// Claimed sizes over the budget or the largest texture are refused before
// decoding; so are other formats, truncated headers and broken data, each
// with a reason and no exception.
TEST(Picture, HostilePicturesAreRefusedWithAReason) {
    struct Case {
        std::vector<uint8_t> bytes;
        int maxSide;
        const char* reason;
    };
    std::vector<uint8_t> broken = encoded(".png", 64, 64);
    for (size_t k = 40; k < broken.size(); k++) broken[k] ^= 0x33;
    std::vector<uint8_t> bmp = encoded(".bmp", 8, 8);
    std::vector<uint8_t> truncated = pngClaiming(10, 10);
    truncated.resize(20);
    const Case cases[] = {
        {pngClaiming(20000, 20000), 0, "too large"},
        {pngClaiming(0xffffffffu, 2), 0, "not a PNG or JPEG"},
        {jpegClaiming(65000, 65000), 0, "too large"},
        {pngClaiming(4097, 4096), 0, "too large"},     // just over 16 megapixels
        {pngClaiming(300, 10), 256, "too large"},      // wider than the GL's textures
        {pngClaiming(0, 10), 0, "0 x 10"},
        {truncated, 0, "not a PNG or JPEG"},
        {bmp, 0, "not a PNG or JPEG"},
        {{0xff, 0xd8, 0xff, 0xe0, 0, 0, 1, 2}, 0, "not a PNG or JPEG"},  // a segment length below 2
        {broken, 0, "cannot be decoded"},
    };
    for (const Case& c : cases) {
        std::string why;
        cv::Mat picture;
        EXPECT_NO_THROW(picture = decodePicture(c.bytes, cv::IMREAD_UNCHANGED, c.maxSide, &why));
        EXPECT_TRUE(picture.empty());
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        EXPECT_EQ(why.find('\n'), std::string::npos) << why;
    }
    // Exactly at the budget the header passes, and the junk after it fails.
    std::string why;
    EXPECT_TRUE(decodePicture(pngClaiming(4096, 4096), cv::IMREAD_UNCHANGED, 0, &why).empty());
    EXPECT_NE(why.find("cannot be decoded"), std::string::npos) << why;
}
