#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/render_target.h"
#include "tests/support/gl_test_context.h"

static const int SIZE = 8;
static const GLfloat OUTPUT_COLOURS[3][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
static const unsigned char SENTINEL[4] = {7, 8, 9, 10};

static std::vector<unsigned char> readTexture(GLuint texture) {
    std::vector<unsigned char> pixels(SIZE * SIZE * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

static float centreDepth(GLuint texture) {
    std::vector<float> depth(SIZE * SIZE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return depth[SIZE * SIZE / 2 + SIZE / 2];
}

// Fill every resolved texture with a sentinel, clear the three drawn outputs
// to red, green and blue and depth to 0.25, then resolve `outputs` of them.
static void drawAndResolve(RenderTarget& target, int outputs) {
    std::vector<unsigned char> sentinel(SIZE * SIZE * 4);
    for (size_t i = 0; i < sentinel.size(); ++i) sentinel[i] = SENTINEL[i % 4];
    std::vector<float> farDepth(SIZE * SIZE, 1.0f);
    target.ensureTextures(3);
    for (GLuint t : target.colourTextures) {
        glBindTexture(GL_TEXTURE_2D, t);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, SIZE, SIZE, GL_RGBA, GL_UNSIGNED_BYTE, sentinel.data());
    }
    glBindTexture(GL_TEXTURE_2D, target.depthTexture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, SIZE, SIZE, GL_DEPTH_COMPONENT, GL_FLOAT, farDepth.data());

    target.attach(outputs);
    target.bind(3);
    for (int i = 0; i < 3; ++i) glClearBufferfv(GL_COLOR, i, OUTPUT_COLOURS[i]);
    GLfloat depth = 0.25f;
    glClearBufferfv(GL_DEPTH, 0, &depth);
    target.resolve(outputs);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

struct RenderTargetTest : GLTest, ::testing::WithParamInterface<int> {};

TEST_P(RenderTargetTest, ResolveCopiesExactlyTheRequestedOutputs) {
    for (int samples : {0, 4}) {
        RenderTarget target;
        target.create(SIZE, SIZE, samples);
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), target.resolveFramebuffer);

        int outputs = GetParam();
        drawAndResolve(target, outputs);
        for (int i = 0; i < 3; ++i) {
            std::vector<unsigned char> pixels = readTexture(target.colourTextures[i]);
            bool copied = i < outputs || (outputs < 1 && i == 0);
            for (int c = 0; c < 4; ++c) {
                unsigned char expected = copied ? static_cast<unsigned char>(OUTPUT_COLOURS[i][c] * 255)
                                                : SENTINEL[c];
                EXPECT_EQ(pixels[(SIZE * SIZE / 2) * 4 + c], expected)
                    << "samples " << samples << " output " << i << " channel " << c;
            }
        }
        EXPECT_NEAR(centreDepth(target.depthTexture), 0.25f, 1e-5f) << "samples " << samples;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

INSTANTIATE_TEST_SUITE_P(Outputs, RenderTargetTest, ::testing::Values(0, 1, 2, 3));

static GLint renderbufferWidth(GLuint buffer) {
    GLint width = -1;
    glBindRenderbuffer(GL_RENDERBUFFER, buffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
    return width;
}

static GLint textureWidth(GLuint texture) {
    GLint width = -1;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
}

// Storage comes with first use: none for a target nothing uses, the drawn
// outputs' buffers (and depth) on bind, textures on attach; the framebuffer
// is complete for what it has at every step.
TEST_F(GLTest, StorageComesWithFirstUse) {
    RenderTarget target;
    target.create(SIZE, SIZE, 4);
    for (GLuint buffer : target.colourBuffers) EXPECT_EQ(renderbufferWidth(buffer), 0);
    EXPECT_EQ(renderbufferWidth(target.depthBuffer), 0);
    for (GLuint texture : target.colourTextures) EXPECT_EQ(textureWidth(texture), 0);

    target.bind(2);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(renderbufferWidth(target.colourBuffers[0]), SIZE);
    EXPECT_EQ(renderbufferWidth(target.colourBuffers[1]), SIZE);
    EXPECT_EQ(renderbufferWidth(target.colourBuffers[2]), 0);
    EXPECT_EQ(renderbufferWidth(target.depthBuffer), SIZE);
    for (GLuint texture : target.colourTextures) EXPECT_EQ(textureWidth(texture), 0);

    target.attach(1);
    EXPECT_EQ(textureWidth(target.colourTextures[0]), SIZE);
    EXPECT_EQ(textureWidth(target.colourTextures[1]), 0);
    EXPECT_EQ(textureWidth(target.depthTexture), SIZE);
    target.resolve(2);
    EXPECT_EQ(textureWidth(target.colourTextures[1]), SIZE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Made again (a second window), the record starts over with new names.
    target.create(SIZE, SIZE, 4);
    target.attach(1);
    target.bind(1);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    target.resolve(1);
    EXPECT_EQ(textureWidth(target.colourTextures[0]), SIZE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(GLTest, BindSelectsTheDrawBuffers) {
    RenderTarget target;
    target.create(SIZE, SIZE, 4);
    for (int outputs : {0, 1, 2, 3, 5}) {
        target.bind(outputs);
        int expected = outputs < 1 ? 1 : outputs > 3 ? 3 : outputs;
        for (int i = 0; i < 3; ++i) {
            GLint buffer = 0;
            glGetIntegerv(GL_DRAW_BUFFER0 + i, &buffer);
            EXPECT_EQ(buffer, i < expected ? static_cast<GLint>(GL_COLOR_ATTACHMENT0 + i) : GL_NONE)
                << outputs << " " << i;
        }
    }
}

TEST_F(GLTest, PerspectiveComesBackByValueInProjectionMode) {
    std::array<float, 16> m = setPerspective(45, 16.0f / 9.0f, 0.01f, 24);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    float f = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
    EXPECT_NEAR(m[5], f, 1e-5f);
    EXPECT_NEAR(m[0], f / (16.0f / 9.0f), 1e-5f);
    EXPECT_EQ(m[11], -1.0f);  // column-major: row 3, column 2
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}
