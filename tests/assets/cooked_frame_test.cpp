// Cooked figure frames: the DXT1 blocks that reach the driver are the same
// whether the loader takes them from a matching cooked file or decodes and
// compresses the frame's picture; a stale or damaged cooked file is one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <opencv2/imgcodecs.hpp>

#include "assets/mesh_sequence.h"
#include "crt_encoder.h"
#include "render/cooked_file.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<uint8_t> triangleMesh() {
    static const float xyz[] = {0, 0, 0, 1000, 0, 0, 0, 1000, 0};
    static const float uv[] = {0, 0, 1, 0, 0, 1};
    static const uint32_t index[] = {0, 1, 2};
    crt::Encoder encoder(3, 1);
    encoder.setIndex(index);
    encoder.addPositions(xyz, 1.0f);
    encoder.addUvs(uv, 12);
    EXPECT_TRUE(encoder.encode()) << encoder.error();
    return encoder.stream;
}

// A frame file whose picture is noise of the given size, as PNG or JPEG.
std::string frameFile(int width, int height, const char* extension) {
    cv::Mat picture(height, width, CV_8UC3);
    cv::randu(picture, 0, 256);
    std::vector<uint8_t> encoded;
    cv::imencode(extension, picture, encoded);
    std::vector<uint8_t> mesh = triangleMesh();
    std::string file;
    auto u32 = [&](uint32_t v) {
        for (int k = 0; k < 4; k++) file.push_back(char(v >> (8 * k)));
    };
    u32(uint32_t(mesh.size()));
    file.append(mesh.begin(), mesh.end());
    for (int k = 0; k < MESH_EXTRA_RECORDS * 3; k++) u32(uint32_t(k));
    u32(uint32_t(encoded.size()));
    file.append(encoded.begin(), encoded.end());
    return file;
}

// Loads the folder's frames as the show does (uploaded, compressed) and
// returns each frame's texture as the driver holds it, and the log.
std::vector<std::vector<uint8_t>> uploadedBlocks(const TempFolder& dir, int count, std::string* log) {
    MeshSequence sequence;
    sequence.frames.resize(size_t(count));
    std::string format = "%.0s" + dir.file("%05d.cor");
    testing::internal::CaptureStdout();
    loadMeshSequences({{&sequence, format.c_str(), 0, 1}}, true, {});
    *log = testing::internal::GetCapturedStdout();
    std::vector<std::vector<uint8_t>> blocks;
    for (const MeshFrame& frame : sequence.frames) {
        GLint size = 0;
        glBindTexture(GL_TEXTURE_2D, frame.texture.id);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE, &size);
        std::vector<uint8_t> bytes(size_t(std::max(size, 0)));
        if (size > 0) glGetCompressedTexImage(GL_TEXTURE_2D, 0, bytes.data());
        blocks.push_back(bytes);
        glDeleteTextures(1, &frame.texture.id);
        glDeleteLists(frame.displayList, 1);
    }
    return blocks;
}

void cook(const std::string& path) {
    std::vector<uint8_t> file;
    std::string why;
    ASSERT_TRUE(cookMeshFramePicture(path, &file, &why)) << why;
    TempFolder::writeBytes(cookedPathFor(path), file);
}

size_t lines(const std::string& log, const std::string& text) {
    size_t n = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) n++;
    return n;
}

}  // namespace

TEST_F(GLTest, CookedFigureBlocksAreTheBlocksTheLoaderMakes) {
    if (!GLEW_EXT_texture_compression_s3tc) GTEST_SKIP() << "this GL takes no DXT1";
    TempFolder dir;
    dir.write("00000.cor", frameFile(64, 32, ".png"));
    dir.write("00001.cor", frameFile(30, 18, ".jpg"));  // sides not multiples of 4
    dir.write("00002.cor", frameFile(128, 64, ".jpg"));
    std::string log;
    std::vector<std::vector<uint8_t>> decoded = uploadedBlocks(dir, 3, &log);
    for (int i = 0; i < 3; i++) cook(dir.file("0000" + std::to_string(i) + ".cor"));
    std::vector<std::vector<uint8_t>> cooked = uploadedBlocks(dir, 3, &log);
    EXPECT_EQ(lines(log, "decoding"), 0u) << log;
    for (int i = 0; i < 3; i++) {
        EXPECT_FALSE(decoded[size_t(i)].empty()) << i;
        EXPECT_EQ(cooked[size_t(i)], decoded[size_t(i)]) << i;
    }

    // Frame 1's cooked file now stands beside frame 0, frame 2's is cut short.
    std::string one = dir.read("00001.cor.cooked"), two = dir.read("00002.cor.cooked");
    dir.write("00000.cor.cooked", one);
    dir.write("00002.cor.cooked", two.substr(0, two.size() - 100));
    std::vector<std::vector<uint8_t>> fallen = uploadedBlocks(dir, 3, &log);
    EXPECT_EQ(lines(log, "decoding"), 2u) << log;
    EXPECT_EQ(lines(log, "00000.cor.cooked - made from another version of the file"), 1u) << log;
    EXPECT_EQ(lines(log, "00002.cor.cooked - header does not match"), 1u) << log;
    EXPECT_EQ(fallen, decoded);
}
