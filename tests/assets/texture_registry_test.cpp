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
