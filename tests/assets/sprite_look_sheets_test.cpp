// Contact sheets of the cut-out looks, written beside the build for a person
// to judge: every ObjectType on a picture it is used with in the scenes, and
// a shatter sequence. The checks only make sure each look is its own.
#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdio>

#include "tests/assets/sprite_gl_canvas.h"
#include "tests/support/gl_test_context.h"

namespace {

struct Look {
    float objectType;
    const char* image;  // nullptr: the mesh figure composite
};

// Each value with a picture the scenes draw it on.
const Look LOOKS[] = {
    {0, "otherback"}, {1, "moon"},     {1.5f, "planet1"}, {1.77f, "tooth4"}, {1.991f, "tv"},
    {2, "angel"},     {2.13f, "angel"}, {2.715f, "angel"}, {3, "fruit7"},    {3.7f, "fish2"},
    {3.86f, "tear"},  {4, "frame_1"},  {5, nullptr},      {5.59f, "logo"},   {5.82f, "type"},
    {8, "skull"},     {8.74f, "musclesfront"}, {9, "umbrella"}, {10, nullptr}, {11, "nail"},
    {12, "kourtina2"}, {12.236f, "fish2"}, {13, nullptr}, {14, nullptr},  {20, "backcloud3"},
    {-1, "car4"},     {-10, "greekback"},
};
constexpr int LOOK_COUNT = sizeof(LOOKS) / sizeof(LOOKS[0]);
constexpr int COLUMNS = 7, CELL = 256;

class LookSheetTest : public GLTest {
protected:
    TextureRegistry registry;

    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(loadSpriteRegistry(registry));
        for (const char* name : {"otherback.jpg", "moon.png", "planet1.png", "tooth4.png", "tv.png", "angel.png",
                                 "fruit7.png", "fish2.png", "tear.png", "frame_1.png", "logo.png", "type.png",
                                 "skull.png", "musclesfront.png", "umbrella.png", "nail.png", "kourtina2.png",
                                 "backcloud3.jpg", "car4.png", "greekback.png"})
            registry.add(std::string("Resources//torvanel//") + name, "");
        registry.sprite.Mode = 1;
        registry.sprite.ttime = registry.sprite.ittime = 12.3f;
    }
    void TearDown() override { ShaderProgram::unuse(); }

    // A stand-in mesh render: a figure on the cyan clear with alpha 0.
    RenderTarget figureTarget() {
        RenderTarget mesh = clearedMeshTarget();
        setCellView(1.7777778f, 1.0f);
        registry.sprite.ObjectType = 1;
        glColor4f(1, 1, 1, 1);
        glPushMatrix();
        glScalef(0.85f, 0.85f, 1);
        registry.find("musclesfront")->draw();
        glPopMatrix();
        mesh.resolve(1);
        return mesh;
    }

    static void setCellView(float halfWidth, float halfHeight) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-halfWidth, halfWidth, -halfHeight, halfHeight, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    }

    // Cell i of a sheet whose canvas is `rows` cells high.
    static void selectCell(int i, int rows, int width, int height) {
        glViewport((i % COLUMNS) * width, (rows - 1 - i / COLUMNS) * height, width, height);
    }

    // All looks, or every cell with the plain look 1 when plain is set.
    cv::Mat drawLooks(bool plain, RenderTarget& figure, RenderTarget& seeThrough) {
        int rows = (LOOK_COUNT + COLUMNS - 1) / COLUMNS;
        SpriteCanvas canvas(COLUMNS * CELL, rows * CELL, 1.0f);
        glClearColor(0.3f, 0.27f, 0.24f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int i = 0; i < LOOK_COUNT; i++) {
            selectCell(i, rows, CELL, CELL);
            registry.sprite.ObjectType = plain ? 1.0f : LOOKS[i].objectType;
            glColor4f(1, 1, 1, 1);
            if (!LOOKS[i].image) {
                setCellView(1.8f, 1.8f);
                glTranslatef(0, 0.1f, 0);
                glRotatef(180, 0, 0, 1);  // a render's rows run bottom-up: the scenes turn it too
                registry.drawScreen(figure.colourTextures[0], 1);
                continue;
            }
            const ClipImage* image = registry.find(LOOKS[i].image);
            setCellView(1.1f, 1.1f);
            float fit = std::min(1.0f, 1.0f / image->texture.aspect);
            glScalef(fit, fit, 1);
            if (LOOKS[i].objectType == 20) {
                registry.sprite.clipProgram.use();
                registry.sprite.clipProgram.setTexture(13, "TextureSeeThrough", seeThrough.colourTextures[0]);
            }
            image->draw();
        }
        std::vector<uint8_t> rgba = canvas.read(0);
        cv::Mat picture(canvas.target.height, canvas.target.width, CV_8UC4, rgba.data());
        cv::Mat bgr;
        cv::cvtColor(picture, bgr, cv::COLOR_RGBA2BGR);
        return bgr;
    }

    // The figure placed where the back-cloud cell is, sized like the sheet.
    RenderTarget seeThroughFor(RenderTarget& figure) {
        int rows = (LOOK_COUNT + COLUMNS - 1) / COLUMNS;
        RenderTarget target;
        target.create(COLUMNS * CELL, rows * CELL, 0);
        target.attach(1);
        target.bind(1);
        glViewport(0, 0, target.width, target.height);
        glClearColor(0, 1, 1, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int i = 0; i < LOOK_COUNT; i++)
            if (LOOKS[i].objectType == 20) {
                selectCell(i, rows, CELL, CELL);
                setCellView(1.2f, 1.2f);
                registry.sprite.ObjectType = 1;
                glRotatef(180, 0, 0, 1);
                registry.drawScreen(figure.colourTextures[0], 1);
            }
        target.resolve(1);
        return target;
    }
};

void label(cv::Mat& sheet, int cell, int width, int height, const std::string& text) {
    cv::Point at((cell % COLUMNS) * width + 6, (cell / COLUMNS) * height + 18);
    cv::putText(sheet, text, at, cv::FONT_HERSHEY_SIMPLEX, 0.5, cv::Scalar(20, 20, 20), 3, cv::LINE_AA);
    cv::putText(sheet, text, at, cv::FONT_HERSHEY_SIMPLEX, 0.5, cv::Scalar(240, 240, 240), 1, cv::LINE_AA);
}

cv::Rect cellRect(int cell) { return cv::Rect((cell % COLUMNS) * CELL, (cell / COLUMNS) * CELL, CELL, CELL); }

// Mean absolute difference per channel, in 8-bit levels. A figure covers a
// small part of its cell, so its cells are compared over the figure alone:
// the pixels where the sheet `shape` (the plain looks) is not the backing.
double cellDifference(const cv::Mat& a, int cellA, const cv::Mat& b, int cellB, const cv::Mat& shape) {
    cv::Mat d;
    cv::absdiff(a(cellRect(cellA)), b(cellRect(cellB)), d);
    if (LOOKS[cellA].image) {
        cv::Scalar mean = cv::mean(d);
        return (mean[0] + mean[1] + mean[2]) / 3;
    }
    cv::Mat off, figure;
    cv::absdiff(shape(cellRect(cellA)), cv::Scalar(0.24 * 255, 0.27 * 255, 0.3 * 255), off);
    cv::cvtColor(off, figure, cv::COLOR_BGR2GRAY);
    cv::Scalar mean = cv::mean(d, figure > 6);
    return (mean[0] + mean[1] + mean[2]) / 3;
}

}  // namespace

TEST_F(LookSheetTest, EveryObjectTypeHasItsOwnLook) {
    RenderTarget figure = figureTarget();
    RenderTarget seeThrough = seeThroughFor(figure);
    cv::Mat looks = drawLooks(false, figure, seeThrough);
    cv::Mat plain = drawLooks(true, figure, seeThrough);
    for (int i = 0; i < LOOK_COUNT; i++) {
        if (LOOKS[i].objectType != 1) {
            EXPECT_GT(cellDifference(looks, i, plain, i, plain), 0.8) << LOOKS[i].objectType;
        }
        char text[32];
        snprintf(text, sizeof text, "%g", LOOKS[i].objectType);
        label(looks, i, CELL, CELL, text);
    }
    // The same picture under different looks must not come out alike either:
    // the three angels, the two fish, the four figures.
    for (auto [a, b] : {std::pair{5, 6}, {5, 7}, {6, 7}, {9, 21}, {12, 18}, {12, 22}, {12, 23}, {18, 22}, {18, 23}, {22, 23}})
        EXPECT_GT(cellDifference(looks, a, looks, b, plain), 4.0)
            << LOOKS[a].objectType << " vs " << LOOKS[b].objectType;
    std::string path = std::string(TORVANEL_BINARY_DIR) + "/objecttype_grid.png";
    EXPECT_TRUE(cv::imwrite(path, looks)) << path;
}

TEST_F(LookSheetTest, ShatterSequenceAssembles) {
    const float progress[] = {0, 0.3f, 0.6f, 1, 2};
    const int width = 384, height = 216;
    SpriteCanvas canvas(5 * width, 2 * height, 1.0f);
    glClearColor(0.3f, 0.27f, 0.24f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const ClipImage* type = registry.find("type");
    const ClipImage* moon = registry.find("moon");
    for (int i = 0; i < 5; i++) {
        glViewport(i * width, height, width, height);
        setCellView(1.7777778f * 2.2f, 2.2f);
        glScalef(0.7f, 0.7f, 1);
        registry.sprite.ObjectType = 5.82f;
        registry.shatterScreen(type->texture.id, 30, progress[i]);
        glViewport(i * width, 0, width, height);
        setCellView(1.7777778f * 1.6f, 1.6f);
        glScalef(0.9f, 0.9f, 1);
        registry.sprite.ObjectType = 1;
        moon->shatter(progress[i]);
    }
    std::vector<uint8_t> rgba = canvas.read(0);
    cv::Mat picture(canvas.target.height, canvas.target.width, CV_8UC4, rgba.data());
    cv::Mat sheet;
    cv::cvtColor(picture, sheet, cv::COLOR_RGBA2BGR);
    cv::Rect first(0, 0, width, height), last(4 * width, 0, width, height);
    cv::Mat d;
    cv::absdiff(sheet(first), sheet(last), d);
    EXPECT_GT(cv::mean(d)[0], 2.0) << "progress 0 and 2 look the same";
    for (int i = 0; i < 5; i++) {
        char text[32];
        snprintf(text, sizeof text, "%g", progress[i]);
        cv::putText(sheet, text, cv::Point(i * width + 6, 18), cv::FONT_HERSHEY_SIMPLEX, 0.5,
                    cv::Scalar(240, 240, 240), 1, cv::LINE_AA);
    }
    std::string path = std::string(TORVANEL_BINARY_DIR) + "/shatter_sequence.png";
    EXPECT_TRUE(cv::imwrite(path, sheet)) << path;
}
