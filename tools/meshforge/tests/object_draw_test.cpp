#include <gtest/gtest.h>

#include <algorithm>

#include "assets/mesh_sequence.h"
#include "render/render_target.h"
#include "render/shader_program.h"
#include "render/texture.h"
#include "tests/support/gl_test_context.h"

// Draws one forged frame file into a w x h target through the object
// program the show builds from its files, on the paper, and reads back the
// colour (RGBA rows from the bottom), or nothing when the program or the
// frame is unusable. `place` moves the camera after the mesh camera, as the
// scenes do.
template <typename Place>
static std::vector<uint8_t> drawForged(const std::string& file, int w, int h, Place place) {
    std::string resources = std::string(TORVANEL_SOURCE_DIR) + "/Resources/";
    ShaderProgram program;
    program.verbose = false;
    testing::internal::CaptureStdout();
    program.load(resources + "shaders//v_object.cpp", resources + "shaders//f_object.cpp");
    Texture paper;
    loadTexture(paper, resources + "torvanel//paper.png", false, false);
    MeshFrame frame = loadMeshFrame(MeshSequence(), resources + "DemoQTR//" + file, true);
    std::string log = testing::internal::GetCapturedStdout();
    GLint linked = 0;
    glGetProgramiv(program.program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE || frame.indices.empty()) {
        ADD_FAILURE() << file << ": no program or no triangles\n" << log;
        return {};
    }
    computeNormals(frame);
    uploadMeshFrame(frame, true, false);

    RenderTarget target;
    target.create(w, h, 4);
    glEnable(GL_DEPTH_TEST);
    meshCamera();
    place();
    drawMeshFrame(true, target, program, frame.texture, frame.displayList, paper.id);
    glPopMatrix();
    ShaderProgram::unuse();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Only the colour is kept: the scenes composite nothing else of a figure.
    std::vector<uint8_t> colour(size_t(w) * h * 4);
    glBindTexture(GL_TEXTURE_2D, target.colourTextures[0]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, colour.data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteLists(frame.displayList, 1);
    glDeleteTextures(1, &frame.texture.id);
    return colour;
}

// One forged frame as the show draws it: the figure comes out opaque,
// printed in its colours inside an ink outline, the rest stays the cyan with
// alpha 0 that the scenes key out.
TEST_F(GLTest, ForgedFrameDrawsOpaqueOnTransparentCyan) {
    const int w = 640, h = 360;
    std::vector<uint8_t> colour = drawForged("walkingnude//04520.cor", w, h, [] {});
    ASSERT_FALSE(colour.empty());
    auto at = [&](std::vector<uint8_t>& p, int x, int y) { return &p[(size_t(y) * w + x) * 4]; };

    // The chest: 1.3 m up, 0.4 m above the view's middle after the shift.
    int chestY = h / 2 + int(0.4f / (4 * 0.41421356f) * (h / 2));
    const uint8_t* chest = at(colour, w / 2, chestY);
    EXPECT_EQ(chest[3], 255);
    EXPECT_GT(chest[0], chest[2] + 15) << "the print's warm colours: more red than blue";
    EXPECT_GT(chest[0], 60);
    int figure = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) figure += at(colour, x, y)[3] == 255;
    EXPECT_GT(figure, w * h / 80);  // a 1.7 m figure 4 m away: a few percent of the view
    EXPECT_LT(figure, w * h / 10);
    // Inked round the outline: one of the first two solid pixels in from the
    // background, on each row the figure crosses, is dark; the chest is not.
    int rows = 0, inked = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const uint8_t *p = at(colour, x, y), *q = at(colour, x + 1, y);
            if (p[3] < 255) continue;
            rows++;
            inked += std::min(std::max({p[0], p[1], p[2]}), std::max({q[0], q[1], q[2]})) < 100;
            break;
        }
    ASSERT_GT(rows, h / 3);
    EXPECT_GT(inked, rows * 7 / 10) << inked << " of " << rows << " rows";
    EXPECT_GT(std::max({chest[0], chest[1], chest[2]}), 90);
    for (auto [x, y] : {std::pair{2, 2}, {w - 3, h - 3}, {w / 2 - 100, h / 2}, {w / 2 + 100, h / 2}}) {
        const uint8_t* p = at(colour, x, y);
        EXPECT_EQ(p[0], 0);
        EXPECT_EQ(p[1], 255);
        EXPECT_EQ(p[2], 255);
        EXPECT_EQ(p[3], 0);
    }
}

// The pen draws the silhouette, not the build of the body: across the knees
// of a walking figure seen close (the legs thirty pixels wide), every ink
// pixel lies within the outline's width of the background. A knee made of
// two rounded pieces prints a ring across the leg.
TEST_F(GLTest, KneesPrintWithoutInkInsideTheOutline) {
    const int w = 640, h = 360;
    for (const char* file : {"walkingnude//04520.cor", "walkingnude//04589.cor", "walkingnude//04208.cor"}) {
        SCOPED_TRACE(file);
        // The knees, 0.5 m up, in the middle of the view from 1.5 m.
        std::vector<uint8_t> colour = drawForged(file, w, h, [] { glTranslatef(0, 0.4f, 2.5f); });
        ASSERT_FALSE(colour.empty());
        auto at = [&](int x, int y) { return &colour[(size_t(y) * w + x) * 4]; };
        int legRows = 0, inside = 0;
        for (int y = h / 2 - 35; y <= h / 2 + 35; ++y) {
            bool crossed = false;
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = at(x, y);
                if (p[3] < 255) continue;
                crossed = true;
                int edge = 1000;  // pixels to the background along the row
                for (int d = 1; d < 12 && edge == 1000; ++d)
                    if ((x - d < 0 || at(x - d, y)[3] < 255) || (x + d >= w || at(x + d, y)[3] < 255)) edge = d;
                inside += edge > 4 && std::max({p[0], p[1], p[2]}) < 110;
            }
            legRows += crossed;
        }
        EXPECT_GT(legRows, 60);
        EXPECT_EQ(inside, 0) << "ink pixels inside the legs' outline";
    }
}
