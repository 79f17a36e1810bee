#include "assets/texture_registry.h"

#include <gtest/gtest.h>

TEST(TextureRegistry, KeysComeFromFileNames) {
    EXPECT_EQ(clipKeyForPath("Resources//torvanel//skullcrack3front.jpg"), "skullcrack3front");
    EXPECT_EQ(clipKeyForPath("moon.png"), "moon");
    EXPECT_EQ(clipKeyForPath("Resources//torvanel//clouds.jpeg"), "clouds.");  // four characters, whatever they are
    EXPECT_EQ(clipKeyForPath("a.png"), "a");
    EXPECT_EQ(clipKeyForPath(".png"), "");
}

// Pictures that do not exist still register under their key (unloaded), so
// lookups can be checked without a GL context.
TEST(TextureRegistry, FindsExactKeysAndTheFirstDuplicate) {
    TextureRegistry registry;
    testing::internal::CaptureStdout();
    registry.add("Resources//torvanel//back3.jpg", "Resources//no-such-dir//backanimals.jpg");
    registry.add("Resources//no-such-dir//moon.png", "");
    registry.add("Resources//no-such-dir//second//moon.png", "");
    testing::internal::GetCapturedStdout();

    ASSERT_NE(registry.find("back3"), nullptr);
    EXPECT_EQ(registry.find("backanimals"), nullptr);  // the picture path never becomes a key
    EXPECT_EQ(registry.find("Moon"), nullptr);
    EXPECT_EQ(registry.find("moo"), nullptr);
    ClipImage* moon = registry.find("moon");
    ASSERT_NE(moon, nullptr);
    EXPECT_EQ(moon, &registry.images[1]);
    EXPECT_EQ(moon->registry, &registry);
    EXPECT_FALSE(moon->texture.loaded);
}

#include <opencv2/imgcodecs.hpp>

#include "tests/support/gl_test_context.h"

// With a picture path, the pixels come from it while the key stays the
// image's; registered textures repeat, a directly loaded one clamps.
TEST_F(GLTest, RegisteredPicturesRepeatUnderTheImageKey) {
    std::string dir = testing::TempDir();
    cv::imwrite(dir + "backanimals.png", cv::Mat(8, 8, CV_8UC3, cv::Scalar(255, 0, 0)));  // blue
    TextureRegistry registry;
    testing::internal::CaptureStdout();
    registry.add(dir + "back3.png", dir + "backanimals.png");
    Texture paper;
    loadTexture(paper, dir + "backanimals.png", false, false);
    testing::internal::GetCapturedStdout();

    ClipImage* back = registry.find("back3");
    ASSERT_NE(back, nullptr);
    ASSERT_TRUE(back->texture.loaded);
    EXPECT_EQ(registry.find("backanimals"), nullptr);
    std::vector<uint8_t> rgb(8 * 8 * 3);
    glBindTexture(GL_TEXTURE_2D, back->texture.id);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    EXPECT_EQ(rgb[0], 0);
    EXPECT_EQ(rgb[2], 255);
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, paper.id);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
}
