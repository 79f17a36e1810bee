#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "assets/sprite_motion.h"
#include "tests/assets/sprite_gl_canvas.h"
#include "tests/support/gl_test_context.h"
#include "tests/render/picture_bombs.h"
#include "tests/support/temp_folder.h"

class SpriteDrawTest : public GLTest {
protected:
    TextureRegistry registry;

    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(loadSpriteRegistry(registry)) << "the clip program did not link";
        registry.sprite.ObjectType = 1;
        registry.sprite.Mode = 1;
    }

    void TearDown() override { ShaderProgram::unuse(); }

    float uniform(const char* name) {
        GLint location = glGetUniformLocation(registry.sprite.clipProgram.program, name);
        EXPECT_GE(location, 0) << name;
        float value = -12345;
        glGetUniformfv(registry.sprite.clipProgram.program, location, &value);
        return value;
    }
    int sampler(const char* name) {
        GLint value = -1;
        glGetUniformiv(registry.sprite.clipProgram.program, glGetUniformLocation(registry.sprite.clipProgram.program, name), &value);
        return value;
    }
};

// A skull on the green key, drawn at its aspect in the middle of the target.
TEST_F(SpriteDrawTest, CutOutKeysTheGreenAndKeepsThePictureOpaque) {
    registry.add("Resources//torvanel//skull.png", "");
    const ClipImage* skull = registry.find("skull");
    ASSERT_TRUE(skull && skull->texture.loaded);
    SpriteCanvas canvas(320, 180, 1.7777778f);
    registry.sprite.ObjectType = 8;
    registry.sprite.ittime = 2.5f;
    skull->draw();

    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(GLuint(current), registry.sprite.clipProgram.program);  // left current on purpose
    EXPECT_EQ(uniform("texture_width"), float(skull->texture.width));
    EXPECT_EQ(uniform("texture_height"), float(skull->texture.height));
    EXPECT_EQ(uniform("OtherMode"), 0.0f);
    EXPECT_EQ(uniform("ObjectType"), 8.0f);
    EXPECT_EQ(uniform("Mode"), 1.0f);
    EXPECT_EQ(uniform("ittime"), 2.5f);
    EXPECT_EQ(sampler("Texture"), 3);
    EXPECT_EQ(sampler("Paper"), 4);

    std::vector<uint8_t> rgba = canvas.read(0);
    // The picture spans 0.836 of a height each side: x 85..235 of 320.
    const uint8_t* bone = canvas.at(rgba, 150, 70);
    EXPECT_EQ(bone[3], 255);
    EXPECT_GT(bone[0], 120);
    EXPECT_LT(bone[1], bone[0] + 10);  // bone stays warm, no green left in it
    for (auto [x, y] : {std::pair{90, 5}, {230, 5}, {90, 170}, {230, 100}, {40, 90}})
        EXPECT_EQ(canvas.at(rgba, x, y)[3], 0) << x << ", " << y;
    std::vector<uint8_t> mask = canvas.read(2);
    EXPECT_EQ(canvas.at(mask, 150, 70)[3], 255);  // coverage for the post-process
    EXPECT_EQ(canvas.at(mask, 90, 5)[3], 0);
}

TEST_F(SpriteDrawTest, PaperGrainShowsOnAFlatWhitePicture) {
    std::string path = std::string(TORVANEL_BINARY_DIR) + "/sprite_white.png";
    ASSERT_TRUE(cv::imwrite(path, cv::Mat(256, 256, CV_8UC3, cv::Scalar(255, 255, 255))));
    registry.add(path, "");
    std::remove(path.c_str());
    SpriteCanvas canvas(256, 256, 1.0f);
    registry.find("sprite_white")->draw();
    std::vector<uint8_t> rgba = canvas.read(0);
    int low = 255, high = 0;
    for (int y = 40; y < 216; y += 3)
        for (int x = 40; x < 216; x += 3) {
            const uint8_t* p = canvas.at(rgba, x, y);
            ASSERT_EQ(p[3], 255);
            low = std::min<int>(low, p[0]);
            high = std::max<int>(high, p[0]);
        }
    EXPECT_GE(high - low, 8) << "no paper grain";
    EXPECT_GT(low, 150);  // still a light sheet
}

TEST_F(SpriteDrawTest, ShatteredCutOutAssemblesAndLoadsItsUniformsFirst) {
    registry.add("Resources//torvanel//skull.png", "");
    const ClipImage* skull = registry.find("skull");
    SpriteCanvas settled(320, 180, 1.7777778f);
    registry.sprite.ObjectType = 1;
    skull->shatter(2.0f);
    EXPECT_EQ(uniform("texture_width"), float(skull->texture.width));
    EXPECT_EQ(sampler("Texture"), 3);
    std::vector<uint8_t> whole = settled.read(0);
    EXPECT_EQ(settled.at(whole, 150, 70)[3], 255);
    EXPECT_EQ(settled.at(whole, 90, 5)[3], 0);

    SpriteCanvas flying(320, 180, 1.7777778f);
    skull->shatter(0.0f);
    std::vector<uint8_t> broken = flying.read(0);
    int differing = 0;
    for (size_t i = 3; i < whole.size(); i += 4) differing += (whole[i] > 128) != (broken[i] > 128);
    EXPECT_GT(differing, 500) << "pieces at progress 0 should lie off their places";
}

// A mesh render: a red square on the cyan clear with alpha 0.
TEST_F(SpriteDrawTest, MeshTargetCompositeKeysTheCyanAndRimsTheFigure) {
    RenderTarget mesh = clearedMeshTarget();
    ShaderProgram::unuse();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(1, 0, 0, 1);
    glRectf(-0.25f, -0.25f, 0.25f, 0.25f);
    mesh.resolve(1);

    SpriteCanvas canvas(960, 540, 1.7777778f);
    registry.sprite.ObjectType = 1;  // the plainest look, so only keying and rim show
    registry.drawScreen(mesh.colourTextures[0], 1);
    EXPECT_EQ(uniform("OtherMode"), 1.0f);
    EXPECT_EQ(uniform("texture_width"), 1920.0f);
    EXPECT_EQ(uniform("texture_height"), 1080.0f);
    std::vector<uint8_t> rgba = canvas.read(0);
    const uint8_t* middle = canvas.at(rgba, 480, 270);
    EXPECT_EQ(middle[3], 255);
    for (auto [x, y] : {std::pair{3, 3}, {956, 3}, {3, 536}, {956, 536}, {240, 270}, {480, 90}})
        EXPECT_EQ(canvas.at(rgba, x, y)[3], 0) << x << ", " << y;
    // Just outside the square (x 360..600) a light paper rim is left standing.
    const uint8_t* rim = canvas.at(rgba, 602, 270);
    EXPECT_EQ(rim[3], 255);
    EXPECT_GT(rim[0] + rim[1] + rim[2], 3 * 160);
    EXPECT_GE(rim[0] + 8, rim[2]);  // warm paper, no cyan fringe

    glDisable(GL_BLEND);
    SpriteCanvas pieces(320, 180, 1.7777778f);
    registry.shatterScreen(mesh.colourTextures[0], 30, 5.0f);
    EXPECT_EQ(uniform("OtherMode"), 0.0f);  // the pieces draw as a plain picture
}

// A falling "OtherFlow" drives the nail into the wall from its tip upwards.
TEST_F(SpriteDrawTest, NegativeFlowSinksTheSpriteFromItsLowerEnd) {
    registry.add("Resources//torvanel//nail.png", "");
    const ClipImage* nail = registry.find("nail");
    ASSERT_TRUE(nail && nail->texture.loaded);
    registry.sprite.ObjectType = 11;
    auto coverageAt = [&](float flow, int y) {
        SpriteCanvas canvas(320, 180, 1.7777778f);
        registry.sprite.clipProgram.use();
        registry.sprite.clipProgram.setFloat("OtherFlow", flow);
        nail->draw();
        std::vector<uint8_t> rgba = canvas.read(0);
        registry.sprite.clipProgram.setFloat("OtherFlow", 0);
        return int(canvas.at(rgba, 160, y)[3]);
    };
    EXPECT_EQ(coverageAt(0.4f, 144), 255);  // the shaft, low on the picture
    EXPECT_EQ(coverageAt(-1.0f, 144), 0);   // gone into the wall
    EXPECT_EQ(coverageAt(-1.0f, 40), 255);  // the upper shaft still stands out
}

TEST_F(SpriteDrawTest, MotionMultipliesOntoTheCurrentMatrix) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    jitter(4.2f, 7, true, 1);
    SpriteOffset o = jitterOffset(4.2f, 7, true, 1);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 1 + o.translation.x);
    EXPECT_FLOAT_EQ(m[13], 2 + o.translation.y);
    EXPECT_NEAR(std::atan2(m[1], m[0]) * 57.29578f, o.turnDegrees, 1e-3f);

    glLoadIdentity();
    pathMove({0, -3, 0}, {0, 0, 0}, 1, 0.5f, 0, 2);
    SpriteOffset p = pathMoveOffset({0, -3, 0}, {0, 0, 0}, 1, 0.5f, 0, 2);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[13], p.translation.y);
    EXPECT_NEAR(std::atan2(m[1], m[0]) * 57.29578f, p.turnDegrees, 1e-3f);
}

// A picture that failed to load keeps its key and draws nothing at all.
TEST_F(SpriteDrawTest, PictureThatFailedToLoadDrawsNothing) {
    TempFolder dir;
    std::vector<uint8_t> bomb = pngClaiming(20000, 20000);
    std::string path = dir.write("bomb.png", std::string(bomb.begin(), bomb.end()));
    testing::internal::CaptureStdout();
    registry.add(path, "");
    testing::internal::GetCapturedStdout();
    const ClipImage* image = registry.find("bomb");
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->texture.loaded);
    SpriteCanvas canvas(64, 36, 1.7777778f);
    image->draw();
    image->shatter(0.5f);
    std::vector<uint8_t> rgba = canvas.read(0);
    EXPECT_EQ(std::count(rgba.begin(), rgba.end(), 0), long(rgba.size()));
}
