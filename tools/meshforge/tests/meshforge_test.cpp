#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "assets/mesh_sequence.h"
#include "crt_encoder.h"
#include "forge.h"

static const std::string RESOURCES = std::string(TORVANEL_SOURCE_DIR) + "/Resources/";

static std::vector<uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

static MeshFrame loadQuietly(const std::string& path) {
    testing::internal::CaptureStdout();
    MeshFrame frame = loadMeshFrame(MeshSequence(), path, true);
    testing::internal::GetCapturedStdout();
    return frame;
}

// The figures as the show decodes them: every file there, a mesh of a few
// thousand triangles with a uv per vertex and a picture, a body 1.7 m tall
// standing on y = 0 that the fixed camera sees whole after the -0.9 m shift.
TEST(ForgedFrames, EveryFileDecodesIntoAFigureTheCameraSeesWhole) {
    const float halfHeight = std::tan(22.5f * 3.14159265f / 180.0f), aspect = 16.0f / 9.0f;
    std::vector<ForgeFile> files = forgeFileList();
    ASSERT_EQ(files.size(), 234u);
    for (const ForgeFile& file : files) {
        std::string path = RESOURCES + forgeFilePath(file);
        SCOPED_TRACE(path);
        MeshFrame frame = loadQuietly(path);
        size_t nvert = frame.positions.size() / 3, ntri = frame.indices.size() / 3;
        ASSERT_GE(ntri, 3000u);
        ASSERT_LE(ntri, 8000u);
        ASSERT_LT(nvert, 65536u);
        ASSERT_EQ(frame.uvs.size(), nvert * 2);
        ASSERT_FALSE(frame.picture.empty());
        EXPECT_EQ(frame.extra[0][0], file.number);
        EXPECT_EQ(frame.extra[0][2], int32_t(ntri));
        for (uint16_t i : frame.indices) ASSERT_LT(i, nvert);

        computeNormals(frame);
        float shortest = 1;
        for (size_t v = 0; v < nvert; ++v) {
            const float* n = &frame.normals[v * 3];
            shortest = std::min(shortest, std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]));
        }
        // The skin folding inside a deeply bent knee or elbow averages to a
        // short normal; one that cancels out is a collapsed triangle fan.
        EXPECT_GT(shortest, 0.05f) << "a vertex with a degenerate normal";

        float low = 1e9f, high = -1e9f, worst = 0;
        for (size_t v = 0; v < nvert; ++v) {
            float x = frame.positions[v * 3], y = frame.positions[v * 3 + 1], z = frame.positions[v * 3 + 2];
            low = std::min(low, y);
            high = std::max(high, y);
            float d = (4 - z) * halfHeight;
            worst = std::max({worst, std::fabs(y - 0.9f) / d, std::fabs(x) / (d * aspect)});
        }
        EXPECT_NEAR(low, 0.0f, 0.002f);
        bool armsUp = file.capture == CAPTURE_SECOND || file.number >= 4800 || file.number < 1000 ||
                      (file.number >= 4208 && file.number < 4210);
        EXPECT_GT(high, armsUp ? 1.5f : 1.58f);
        EXPECT_LT(high, armsUp ? 2.25f : 1.76f);
        EXPECT_LT(worst, 0.9f) << "the figure leaves the mesh camera's view";
    }
}

// What the forge encodes is what the decoder gives back, vertex for vertex,
// within the quantisation steps; the files in Resources hold that stream.
TEST(ForgedFrames, StreamsRoundTripWithinQuantisation) {
    for (Capture capture : {CAPTURE_WALKING, CAPTURE_SECOND}) {
        ForgeFigure figure = makeForgeFigure(capture);
        int number = capture == CAPTURE_WALKING ? 4530 : 340;
        ToolMesh mesh = frameMesh(figure, number);
        std::vector<uint8_t> stream;
        std::vector<uint32_t> order;
        std::string error;
        ASSERT_TRUE(encodeStream(mesh, &stream, &error, &order)) << error;
        ToolMesh back;
        ASSERT_TRUE(decodeStream(stream.data(), stream.size(), &back, &error)) << error;
        ASSERT_EQ(back.xyz.size() / 3, order.size());
        ASSERT_EQ(back.index.size(), mesh.index.size()) << "no triangle of the figure is degenerate";
        float step = crt::edgeStep(mesh.xyz.data(), mesh.index.data(), uint32_t(mesh.index.size() / 3));
        EXPECT_GT(step, 0.2f);
        EXPECT_LT(step, 3.0f);  // millimetres
        for (size_t k = 0; k < order.size(); ++k) {
            for (int a = 0; a < 3; ++a) ASSERT_NEAR(back.xyz[k * 3 + a], mesh.xyz[order[k] * 3 + a], step * 1.01f);
            for (int a = 0; a < 2; ++a) ASSERT_NEAR(back.uv[k * 2 + a], mesh.uv[order[k] * 2 + a], 1.01f / 4096);
        }

        ForgeFile file = {capture, number};
        std::vector<uint8_t> stored = readAll(RESOURCES + forgeFilePath(file)), storedStream, picture;
        ASSERT_TRUE(splitFrameFile(stored, &storedStream, &picture, &error)) << error;
        EXPECT_EQ(storedStream, stream);
    }
}

// The forge is deterministic: two runs give the same bytes, and the same
// bytes as the build's own run into Resources.
TEST(ForgeRuns, TwoRunsWriteIdenticalFiles) {
    std::string scratch = MESHFORGE_SCRATCH;
    std::filesystem::remove_all(scratch);
    for (const char* run : {"/a", "/b"}) {
        std::string command = std::string(MESHFORGE_EXE) + " --out " + scratch + run + " --every 37 > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::vector<ForgeFile> files = forgeFileList();
    std::set<std::string> chosen;  // every 37th of the list: both folders
    for (size_t i = 0; i < files.size(); i += 37) chosen.insert(forgeFilePath(files[i]));
    EXPECT_EQ(chosen.size(), 7u);
    for (const ForgeFile& file : files) {
        std::string name = forgeFilePath(file);
        bool written = chosen.count(name) > 0;
        EXPECT_EQ(std::filesystem::exists(scratch + "/a/" + name), written) << name;
        if (!written) continue;
        std::vector<uint8_t> a = readAll(scratch + "/a/" + name), b = readAll(scratch + "/b/" + name);
        EXPECT_GT(a.size(), 10000u);
        EXPECT_EQ(a, b) << name;
        EXPECT_EQ(a, readAll(RESOURCES + name)) << name;
    }
    std::filesystem::remove_all(scratch);
}

TEST(ForgeRuns, RejectsUnknownArguments) {
    std::string command = std::string(MESHFORGE_EXE) + " --every 0 2> /dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}
