// Pictures are checked by their headers before a pixel is decoded.
#include "render/picture.h"

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

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

// Colour JPEGs come from libjpeg straight into B, G, R: exactly OpenCV's
// pixels, for every kind the show may meet, damaged ones included. What
// that path leaves alone (Exif, which may turn a picture) goes to OpenCV.
TEST(Picture, JpegsDecodeToOpenCvsPixels) {
    cv::Mat painted(61, 83, CV_8UC3);
    // Its own generator, seeded as OpenCV's shared one starts: the cut case
    // below holds its first third only for a known picture, and the shared
    // generator's state depends on the tests run before.
    cv::RNG rng(0xffffffff);
    rng.fill(painted, cv::RNG::UNIFORM, cv::Scalar::all(0), cv::Scalar::all(255));
    cv::GaussianBlur(painted, painted, cv::Size(7, 7), 2.0);
    cv::Mat grey;
    cv::cvtColor(painted, grey, cv::COLOR_BGR2GRAY);
    std::vector<uint8_t> plain, progressive, greyJpeg;
    cv::imencode(".jpg", painted, plain, {cv::IMWRITE_JPEG_QUALITY, 90});
    cv::imencode(".jpg", painted, progressive, {cv::IMWRITE_JPEG_PROGRESSIVE, 1});
    cv::imencode(".jpg", grey, greyJpeg);
    std::vector<uint8_t> cut(plain.begin(), plain.begin() + std::ptrdiff_t(plain.size() * 2 / 3));
    std::vector<uint8_t> scribbled = plain;
    for (size_t k = scribbled.size() / 2; k < scribbled.size() / 2 + 40; k++) scribbled[k] ^= 0x5a;
    // An Exif segment right after the start of image.
    std::vector<uint8_t> exif = {0xff, 0xd8, 0xff, 0xe1, 0x00, 0x08, 'E', 'x', 'i', 'f', 0, 0};
    exif.insert(exif.end(), plain.begin() + 2, plain.end());

    struct Case {
        const char* name;
        const std::vector<uint8_t>& bytes;
    };
    for (const Case& c : {Case{"plain", plain}, Case{"progressive", progressive}, Case{"grey", greyJpeg},
                          Case{"cut", cut}, Case{"scribbled", scribbled}, Case{"exif", exif}})
        for (int flags : {cv::IMREAD_COLOR, cv::IMREAD_UNCHANGED}) {
            std::string why;
            cv::Mat mine = decodePicture(c.bytes, flags, 0, &why);
            cv::Mat theirs = cv::imdecode(c.bytes, flags);
            ASSERT_EQ(mine.size(), theirs.size()) << c.name << ": " << why;
            ASSERT_EQ(mine.type(), theirs.type()) << c.name;
            // A cut file's rows past its end are made up, differently by
            // each reader; the rows it holds agree.
            cv::Rect held(0, 0, mine.cols, &c.bytes == &cut ? mine.rows / 3 : mine.rows);
            EXPECT_EQ(cv::norm(mine(held), theirs(held), cv::NORM_INF), 0) << c.name << " flags " << flags;
        }
    // Damage libjpeg cannot read past fails with one line, no exception.
    std::vector<uint8_t> headerOnly(plain.begin(), plain.begin() + 200);
    std::string why;
    EXPECT_TRUE(decodePicture(headerOnly, cv::IMREAD_COLOR, 0, &why).empty());
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
}
