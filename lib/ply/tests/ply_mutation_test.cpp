// Truncated and corrupted vector files must give a ply::Error or a result,
// never a crash, an overrun (run under the sanitizers) or another exception.
#include "memory_stream.h"
#include "ply_reader.h"
#include "ply_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

void readAll(const std::vector<char>& bytes)
{
    ply::memory_stream in(bytes.data(), bytes.size());
    ply::File file = ply::parseHeader(in);
    std::vector<std::shared_ptr<ply::Buffer>> buffers;
    const std::vector<std::vector<std::string>> wanted = {{"x", "y", "z"}, {"red", "green", "blue"}};
    for (const auto& names : wanted)
        try {
            buffers.push_back(ply::request(file, "vertex", names));
        } catch (const ply::Error&) {
        }
    std::shared_ptr<ply::Buffer> faces;
    if (ply::hasProperty(file.header, "face", "vertex_indices"))
        faces = ply::request(file, "face", {"vertex_indices"});
    ply::read(file, in);
    for (const auto& b : buffers) {
        ply::toFloat(*b);
        ply::toUint8(*b);
    }
    if (faces)
        ply::toTriangles(*faces, buffers.empty() ? 0 : buffers[0]->count);
}

TEST(PlyMutation, OnlyCleanErrors)
{
    uint32_t state = 12345;
    auto next = [&state] { return state = state * 1664525u + 1013904223u; };
    size_t files = 0, runs = 0, errors = 0;
    for (const auto& entry : std::filesystem::directory_iterator(plyTestData())) {
        if (entry.path().extension() != ".ply")
            continue;
        std::vector<char> original = fileBytes(entry.path().string());
        if (original.empty())
            continue;
        files++;
        size_t headerEnd = std::string(original.begin(), original.end()).find("end_header");
        headerEnd = std::min(original.size(), headerEnd == std::string::npos ? original.size() : headerEnd + 12);
        for (int i = 0; i < 60; i++) {
            std::vector<char> bytes = original;
            uint32_t r = next();
            if (i < 20) {
                bytes.resize(r % bytes.size());
            } else if (i < 40) {
                // Header digits and type names are where the damage matters most.
                for (int k = 0; k < 3; k++)
                    bytes[next() % headerEnd] = "9-0x \n"[next() % 6];
            } else {
                for (int k = 0; k < 4; k++)
                    bytes[next() % bytes.size()] = char(next() >> 24);
            }
            runs++;
            try {
                readAll(bytes);
            } catch (const ply::Error&) {
                errors++;
            }
        }
    }
    EXPECT_GE(files, 45u);
    EXPECT_GT(errors, runs / 4);
}

} // namespace
