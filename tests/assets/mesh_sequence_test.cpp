#include "assets/mesh_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <opencv2/imgcodecs.hpp>

#include "crt_encoder.h"
#include "tests/render/picture_bombs.h"
#include "tests/support/temp_folder.h"

namespace {

void appendU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(uint8_t(v >> (8 * k)));
}

// A frame file: the mesh stream, 22 records 0..65, the picture.
std::vector<uint8_t> frameFile(const std::vector<uint8_t>& mesh, const std::vector<uint8_t>& picture) {
    std::vector<uint8_t> file;
    appendU32(file, uint32_t(mesh.size()));
    file.insert(file.end(), mesh.begin(), mesh.end());
    for (uint32_t k = 0; k < 66; ++k) appendU32(file, k);
    appendU32(file, uint32_t(picture.size()));
    file.insert(file.end(), picture.begin(), picture.end());
    return file;
}

// Three triangles fanned around vertex 0, in millimetres, with uvs.
std::vector<uint8_t> fanMesh() {
    static const float xyz[] = {0, 0, 0, 1000, 0, 0, 0, 1000, 0, -1000, 0, 0, 0, -1000, 0};
    static const float uv[] = {0.5f, 0.5f, 1, 0.5f, 0.5f, 1, 0, 0.5f, 0.5f, 0};
    static const uint32_t index[] = {0, 1, 2, 0, 2, 3, 0, 3, 4};
    crt::Encoder encoder(5, 3);
    encoder.setIndex(index);
    encoder.addPositions(xyz, 1.0f);
    encoder.addUvs(uv, 12);
    EXPECT_TRUE(encoder.encode()) << encoder.error();
    return encoder.stream;
}

std::vector<uint8_t> pngPicture(int w, int h, int channels) {
    cv::Mat image(h, w, CV_8UC(channels), cv::Scalar(10, 20, 30, 255));
    std::vector<uint8_t> bytes;
    cv::imencode(".png", image, bytes);
    return bytes;
}

MeshFrame parse(const std::vector<uint8_t>& file, std::string* out = nullptr) {
    MeshSequence sequence;
    testing::internal::CaptureStdout();
    MeshFrame frame = parseMeshFrame(sequence, file.data(), file.size(), true, "test.cor");
    std::string text = testing::internal::GetCapturedStdout();
    if (out) *out = text;
    return frame;
}

TEST(MeshFrameFile, DecodesMeshRecordsAndPicture) {
    MeshFrame frame = parse(frameFile(fanMesh(), pngPicture(13, 7, 4)));
    ASSERT_EQ(frame.positions.size(), 15u);
    ASSERT_EQ(frame.indices.size(), 9u);
    ASSERT_EQ(frame.uvs.size(), 10u);
    float extent = 0;
    for (float p : frame.positions) extent = std::max(extent, std::fabs(p));
    EXPECT_NEAR(extent, 1.0f, 0.002f);  // millimetres to metres
    for (int k = 0; k < 66; ++k) EXPECT_EQ(frame.extra[k / 3][k % 3], k);
    // Alpha is dropped: the upload takes three bytes per pixel.
    EXPECT_EQ(frame.picture.cols, 13);
    EXPECT_EQ(frame.picture.rows, 7);
    EXPECT_EQ(frame.picture.channels(), 3);
}

TEST(MeshFrameFile, DamagedFilesGiveAnEmptyFrameAndOneLine) {
    std::vector<uint8_t> good = frameFile(fanMesh(), pngPicture(8, 8, 3));
    size_t meshLength = good.size() - 4 - 264 - 4 - pngPicture(8, 8, 3).size();

    std::vector<uint8_t> longMesh = good;
    longMesh[3] = 0x7f;  // L far past the end
    std::vector<uint8_t> shortRecords(good.begin(), good.begin() + 4 + meshLength + 100);
    std::vector<uint8_t> longPicture = good;
    longPicture[4 + meshLength + 264 + 3] = 0x40;
    std::vector<uint8_t> garbageMesh = good;
    for (size_t k = 4; k < 4 + meshLength; ++k) garbageMesh[k] ^= 0x5a;
    std::vector<uint8_t> tiny = {1, 0};

    for (const auto& file : {longMesh, shortRecords, longPicture, garbageMesh, tiny}) {
        std::string out;
        MeshFrame frame = parse(file, &out);
        EXPECT_TRUE(frame.indices.empty() || &file == &longPicture);
        EXPECT_NE(out.find("test.cor"), std::string::npos) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_TRUE(frame.picture.empty());
    }
}

TEST(MeshFrameFile, IndicesKeepTheirLow16Bits) {
    // A strip over 70 002 vertices: indices past 65535 wrap, as files rely on.
    const uint32_t nvert = 70002;
    std::vector<float> xyz(nvert * 3);
    std::vector<uint32_t> index;
    for (uint32_t v = 0; v < nvert; ++v) {
        xyz[v * 3] = float(v / 2) * 10.0f;
        xyz[v * 3 + 1] = float(v % 2) * 10.0f;
    }
    for (uint32_t t = 0; t + 2 < nvert; ++t) index.insert(index.end(), {t, t + 1 + (t % 2), t + 2 - (t % 2)});
    crt::Encoder encoder(nvert, uint32_t(index.size() / 3));
    encoder.setIndex(index.data());
    encoder.addPositions(xyz.data(), 1.0f);
    ASSERT_TRUE(encoder.encode()) << encoder.error();

    crt::Decoder decoder(encoder.stream.data(), encoder.stream.size());
    std::vector<float> positions(size_t(decoder.nvert()) * 3);
    std::vector<uint32_t> decoded(size_t(decoder.nface()) * 3);
    decoder.setPositions(positions.data());
    decoder.setIndex(decoded.data());
    ASSERT_TRUE(decoder.decode());

    MeshFrame frame = parse(frameFile(encoder.stream, {}));
    ASSERT_EQ(frame.indices.size(), decoded.size());
    bool wrapped = false;
    for (size_t k = 0; k < decoded.size(); ++k) {
        ASSERT_EQ(frame.indices[k], uint16_t(decoded[k]));
        wrapped |= decoded[k] >= 65536;
    }
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(uint16_t(70000u), 4464);
    EXPECT_TRUE(frame.picture.empty());  // M = 0: no picture
}

TEST(MeshNormals, AveragesUnitFaceNormalsWithoutRenormalising) {
    MeshFrame frame;
    // Vertex 0 on three triangles: two in the z = 0 plane, one standing up.
    frame.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 5, 5};
    frame.indices = {0, 1, 2, 0, 2, 3, 0, 1, 2};
    computeNormals(frame);
    // (0,0,1) twice and (1,0,0) once, over 3 + 1e-7.
    EXPECT_FLOAT_EQ(frame.normals[0], 1.0f / (3.0f + 1e-7f));
    EXPECT_FLOAT_EQ(frame.normals[2], 2.0f / (3.0f + 1e-7f));
    // A vertex on no triangle stays zero.
    EXPECT_EQ(frame.normals[12], 0.0f);
    EXPECT_EQ(frame.normals[14], 0.0f);

    // A degenerate triangle adds a zero normal but counts in the divisor.
    MeshFrame flat;
    flat.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0, 0};
    flat.indices = {0, 1, 2, 0, 1, 3};
    computeNormals(flat);
    EXPECT_FLOAT_EQ(flat.normals[2], 1.0f / (2.0f + 1e-7f));
}

// The offset of the vertex and face counts in a stream: the first place
// they stand side by side.
size_t countsOffset(const std::vector<uint8_t>& stream, uint32_t nvert, uint32_t nface) {
    for (size_t k = 0; k + 8 <= stream.size(); k++) {
        uint32_t a, b;
        memcpy(&a, &stream[k], 4);
        memcpy(&b, &stream[k + 4], 4);
        if (a == nvert && b == nface) return k;
    }
    return 0;
}

// Hostile frame files each give an empty frame (which keeps its slot and
// draws nothing) and one line naming the file; nothing throws, nothing is
// allocated for what the header merely claims.
TEST(MeshFrameFile, HostileFramesFailAloneWithOneLine) {
    std::vector<uint8_t> bigCounts = fanMesh();
    size_t at = countsOffset(bigCounts, 5, 3);
    ASSERT_GT(at, 0u);
    for (size_t k : {at, at + 4}) memcpy(&bigCounts[k], "\x00\x00\x20\x00", 4);  // 2^21 each
    bigCounts.resize(bigCounts.size() + 8192, 0);  // enough bytes to encode that many
    struct Case {
        std::vector<uint8_t> file;
        const char* reason;
    };
    const Case cases[] = {
        {frameFile(fanMesh(), pngClaiming(100000, 100000)), "too large"},
        {frameFile(fanMesh(), jpegClaiming(65000, 65000)), "too large"},
        {frameFile(fanMesh(), {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}), "not a PNG or JPEG"},
        {frameFile(bigCounts, pngPicture(8, 8, 3)), "over the limit"},
    };
    for (const Case& c : cases) {
        std::string out;
        MeshFrame frame;
        EXPECT_NO_THROW(frame = parse(c.file, &out));
        EXPECT_TRUE(frame.indices.empty());
        EXPECT_TRUE(frame.picture.empty());
        EXPECT_NE(out.find("test.cor"), std::string::npos) << out;
        EXPECT_NE(out.find(c.reason), std::string::npos) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    }
}

// A folder where a frame file should be, and a bomb among good frames: the
// sequence keeps every slot, the good frames load, the bad ones stay empty.
TEST(MeshSequenceLoading, BadFilesKeepTheirSlots) {
    TempFolder dir;
    std::vector<uint8_t> good = frameFile(fanMesh(), pngPicture(8, 8, 3));
    std::vector<uint8_t> bomb = frameFile(fanMesh(), pngClaiming(20000, 20000));
    dir.write("00000.cor", std::string(good.begin(), good.end()));
    std::filesystem::create_directory(dir.file("00001.cor"));
    dir.write("00002.cor", std::string(bomb.begin(), bomb.end()));
    dir.write("00003.cor", std::string(good.begin(), good.end()));
    MeshSequence sequence;
    sequence.frames.resize(4);
    std::string format = "%.0s" + dir.file("%05d.cor");  // the data folder's prefix left out
    testing::internal::CaptureStdout();
    loadMeshSequence(sequence, format.c_str(), 0, 1, {});
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(sequence.frames[0].indices.size(), 9u);
    EXPECT_TRUE(sequence.frames[1].indices.empty());
    EXPECT_TRUE(sequence.frames[2].indices.empty());
    EXPECT_EQ(sequence.frames[3].indices.size(), 9u);
    EXPECT_NE(out.find("00001.cor - not a regular file"), std::string::npos) << out;
    EXPECT_NE(out.find("00002.cor - picture of 20000 x 20000 pixels is too large"), std::string::npos) << out;
}

int progressCalls = 0;
void countProgress() { ++progressCalls; }

// Frames land in their own slots whatever thread decodes them; progress runs
// on the calling thread, at least once a frame.
TEST(MeshSequenceLoading, FramesKeepTheirSlotsAndProgressRunsHere) {
    MeshSequence nude;
    nude.frames.resize(20);
    progressCalls = 0;
    testing::internal::CaptureStdout();
    loadMeshSequence(nude, "%sDemoQTR//no-such-nude2//%05d.cor", 300, 4, countProgress);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_GE(progressCalls, 20);
    EXPECT_NE(out.find("Loading .......... Resources//DemoQTR//no-such-nude2//00376.cor"), std::string::npos);
    EXPECT_EQ(out.find("00380.cor"), std::string::npos);
    for (const MeshFrame& frame : nude.frames) EXPECT_TRUE(frame.indices.empty());
}

// Loading in parallel gives the frames reading them one by one gives.
TEST(MeshSequenceLoading, ParallelLoadingMatchesOneByOne) {
    const char* format = "%sDemoQTR//walkingnude//%05d.cor";
    MeshSequence parallel;
    parallel.frames.resize(10);
    testing::internal::CaptureStdout();
    loadMeshSequence(parallel, format, 4800, 1, {});
    testing::internal::GetCapturedStdout();
    for (int i = 0; i < 10; i++) {
        char path[128];
        snprintf(path, sizeof path, format, "Resources//", 4800 + i);
        MeshFrame one = loadMeshFrame(MeshSequence(), path, true);
        computeNormals(one);
        const MeshFrame& other = parallel.frames[size_t(i)];
        ASSERT_FALSE(one.indices.empty()) << path << " (the forge writes it)";
        EXPECT_EQ(other.indices, one.indices) << i;
        EXPECT_EQ(other.positions, one.positions) << i;
        EXPECT_EQ(other.normals, one.normals) << i;
        EXPECT_EQ(other.uvs, one.uvs) << i;
        EXPECT_EQ(cv::norm(other.picture, one.picture, cv::NORM_INF), 0) << i;
    }
}

}  // namespace
