#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "assets/mesh_sequence.h"
#include "render/render_target.h"
#include "render/shader_program.h"
#include "tests/support/gl_test_context.h"

// A textured quad drawn as a mesh frame through the fixed camera into a
// render target: the figure carries its picture, everything around it is the
// cyan clear with alpha 0 that the scenes key out.
TEST_F(GLTest, MeshFrameDrawsOnTransparentCyan) {
    char folder[] = "/tmp/torvanel-meshdraw-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string dir = folder;
    std::ofstream(dir + "/object_vertex.cpp")
        << "void main() {\n    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
           "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n}\n";
    std::ofstream(dir + "/object_fragment.cpp")
        << "uniform sampler2D Texture;\nvoid main() {\n"
           "    gl_FragData[0] = vec4(texture2D(Texture, gl_TexCoord[0].xy).rgb, 1.0);\n"
           "    gl_FragData[1] = vec4(1.0);\n}\n";
    ShaderProgram program;
    program.verbose = false;
    testing::internal::CaptureStdout();
    program.load(dir + "/object_vertex.cpp", dir + "/object_fragment.cpp");
    testing::internal::GetCapturedStdout();

    // A 1 m quad standing 0.9 m up, so the frame's -0.9 shift centres it.
    MeshFrame frame;
    frame.positions = {-0.5f, 0.4f, 0, 0.5f, 0.4f, 0, 0.5f, 1.4f, 0, -0.5f, 1.4f, 0};
    frame.uvs = {0, 0, 1, 0, 1, 1, 0, 1};
    frame.indices = {0, 1, 2, 0, 2, 3};
    frame.picture = cv::Mat(6, 6, CV_8UC3, cv::Scalar(0, 0, 255));  // red, B G R
    computeNormals(frame);
    uploadMeshFrame(frame, true, false);
    EXPECT_TRUE(frame.picture.empty());  // released after upload

    RenderTarget target;
    target.create(320, 180, 4);
    meshCamera();
    drawMeshFrame(true, target, program, frame.texture, frame.displayList, 0);
    glPopMatrix();

    std::vector<uint8_t> rgba(320 * 180 * 4);
    glBindTexture(GL_TEXTURE_2D, target.colourTextures[0]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    auto at = [&](int x, int y) { return &rgba[(size_t(y) * 320 + x) * 4]; };
    const uint8_t* middle = at(160, 90);
    EXPECT_EQ(middle[0], 255);
    EXPECT_EQ(middle[1], 0);
    EXPECT_EQ(middle[3], 255);
    for (const uint8_t* corner : {at(2, 2), at(317, 177), at(20, 90)}) {
        EXPECT_EQ(corner[0], 0);
        EXPECT_EQ(corner[1], 255);
        EXPECT_EQ(corner[2], 255);
        EXPECT_EQ(corner[3], 0);
    }
    std::remove((dir + "/object_vertex.cpp").c_str());
    std::remove((dir + "/object_fragment.cpp").c_str());
    std::remove((dir + "/object_vertex.xxx").c_str());
    std::remove((dir + "/object_fragment.xxx").c_str());
    std::remove(folder);
}
