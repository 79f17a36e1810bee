#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <opencv2/imgcodecs.hpp>
#include <vector>

#include "render/texture.h"
#include "tests/support/gl_test_context.h"
#include "tests/render/picture_bombs.h"
#include "tests/support/temp_folder.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

static std::vector<unsigned char> readRgb(const Texture& t) {
    std::vector<unsigned char> pixels(static_cast<size_t>(t.width) * t.height * 3);
    glBindTexture(GL_TEXTURE_2D, t.id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return pixels;
}

struct TextureTest : GLTest {
    TempFolder dir;
};

TEST_F(TextureTest, OddWidthIsSqueezedAlphaDroppedTopRowFirst) {
    // Top half red, bottom half blue, half transparent throughout.
    cv::Mat image(512, 1023, CV_8UC4, cv::Scalar(0, 0, 255, 128));
    image.rowRange(256, 512).setTo(cv::Scalar(255, 0, 0, 128));
    ASSERT_TRUE(cv::imwrite(dir.file("odd.png"), image));

    Texture t;
    CaptureStdout();
    loadTexture(t, dir.file("odd.png"), false, false);
    EXPECT_EQ(GetCapturedStdout(), "Reading... " + dir.file("odd.png") + "\n");
    ASSERT_TRUE(t.loaded);
    EXPECT_NE(t.id, 0u);
    EXPECT_EQ(t.width, 1020);
    EXPECT_EQ(t.height, 512);
    EXPECT_FLOAT_EQ(t.aspect, 1020.0f / 512.0f);

    GLint internalFormat = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    EXPECT_TRUE(internalFormat == GL_RGB || internalFormat == GL_RGB8) << internalFormat;
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);

    std::vector<unsigned char> rgb = readRgb(t);
    const unsigned char* first = &rgb[0];                           // t = 0
    const unsigned char* last = &rgb[(511 * 1020 + 1019) * 3];      // t = 1
    EXPECT_EQ(first[0], 255);
    EXPECT_EQ(first[2], 0);
    EXPECT_EQ(last[0], 0);
    EXPECT_EQ(last[2], 255);
}

TEST_F(TextureTest, WidthAlreadyAMultipleOfFourKeepsItsPixels) {
    cv::Mat image(4, 8, CV_8UC3);
    for (int i = 0; i < 4 * 8 * 3; ++i) image.data[i] = static_cast<unsigned char>(i * 7);
    ASSERT_TRUE(cv::imwrite(dir.file("exact.png"), image));
    Texture t;
    CaptureStdout();
    loadTexture(t, dir.file("exact.png"), false, false);
    GetCapturedStdout();
    ASSERT_EQ(t.width, 8);
    std::vector<unsigned char> rgb = readRgb(t);
    for (int p = 0; p < 32; ++p)
        for (int c = 0; c < 3; ++c) ASSERT_EQ(rgb[p * 3 + c], image.data[p * 3 + 2 - c]) << p;
}

TEST_F(TextureTest, BadFilesLeaveTheRecordUnloaded) {
    dir.write("garbage.png", "not an image at all");
    cv::Mat narrow(5, 3, CV_8UC3, cv::Scalar(1, 2, 3));
    ASSERT_TRUE(cv::imwrite(dir.file("narrow.png"), narrow));
    // A picture claiming 20000 x 20000 pixels (1.2 GB decoded) and a folder
    // with a picture's name are refused before anything is allocated.
    std::vector<uint8_t> bomb = pngClaiming(20000, 20000);
    dir.write("bomb.png", std::string(bomb.begin(), bomb.end()));
    std::filesystem::create_directory(dir.file("folder.png"));
    for (const char* name : {"missing.png", "garbage.png", "narrow.png", "bomb.png", "folder.png"}) {
        Texture t;
        CaptureStdout();
        loadTexture(t, dir.file(name), false, false);
        std::string log = GetCapturedStdout();
        EXPECT_FALSE(t.loaded) << name;
        EXPECT_EQ(t.id, 0u) << name;
        EXPECT_NE(log.find("loadTexture - "), std::string::npos) << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;  // "Reading..." and the failure
    }
}

TEST_F(TextureTest, RawUploadsAreBgrFirstRowAtTop) {
    Texture t;
    createTexture(t, 4, 2);
    EXPECT_EQ(t.internalFormat, 3);
    EXPECT_EQ(t.pixelFormat, GL_BGR);
    EXPECT_FLOAT_EQ(t.aspect, 2.0f);
    unsigned char bgr[4 * 2 * 3] = {};
    bgr[0] = 200;        // blue of the first pixel of the first row
    bgr[12 + 2] = 100;   // red of the first pixel of the second row
    uploadTexture(t, bgr);
    std::vector<unsigned char> rgb = readRgb(t);
    EXPECT_EQ(rgb[2], 200);
    EXPECT_EQ(rgb[12], 100);
}
