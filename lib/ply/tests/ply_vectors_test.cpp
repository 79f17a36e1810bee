// Every vector file against the independent reading in its expected.json.
#include "memory_stream.h"
#include "ply_reader.h"
#include "ply_test_util.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

using nlohmann::json;

namespace {

std::vector<std::string> vectorNames()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(plyTestData(), ec))
        if (entry.path().extension() == ".ply")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

double number(const json& j)
{
    if (j.is_string())
        return j == "nan" ? NAN : j == "inf" ? INFINITY : -INFINITY;
    return j.get<double>();
}

void expectSame(double expected, double actual, const std::string& what, double tolerance = 1e-9)
{
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(actual)) << what;
    else
        EXPECT_NEAR(expected, actual, tolerance * std::max(1.0, std::fabs(expected))) << what;
}

// Sums per column, plus the first and last three rows, of a width-3 buffer.
void expectColumns(const json& c, const ply::Buffer& b, const char* prefix, const char* const names[3])
{
    ASSERT_EQ(b.width, 3u);
    size_t rows = b.count;
    std::vector<double> v = ply::toDouble(b);
    for (int k = 0; k < 3; k++) {
        double sum = 0;
        for (size_t r = 0; r < rows; r++)
            sum += v[r * 3 + k];
        expectSame(number(c[std::string("sum_") + names[k]]), sum, names[k]);
    }
    const json& first = c[std::string("first_") + prefix];
    const json& last = c[std::string("last_") + prefix];
    // Rows of float properties are written with 9 digits, whatever the buffer type.
    double tolerance = 1e-8;
    for (size_t r = 0; r < first.size(); r++)
        for (int k = 0; k < 3; k++) {
            expectSame(number(first[r][k]), v[r * 3 + k], "first row", tolerance);
            expectSame(number(last[r][k]), v[(rows - last.size() + r) * 3 + k], "last row", tolerance);
        }
}

void expectFaces(const json& c, const ply::Buffer& faces, size_t vertexCount)
{
    using Histogram = std::map<std::string, int>;
    Histogram sizes;
    std::vector<std::vector<int64_t>> rows;
    int64_t sum = 0, lo = INT64_MAX, hi = INT64_MIN;
    size_t at = 0, outside = 0, triangles = 0;
    std::vector<double> values = ply::toDouble(faces);
    for (uint32_t n : faces.listSizes) {
        sizes[std::to_string(n)]++;
        rows.emplace_back();
        for (uint32_t k = 0; k < n; k++) {
            int64_t v = int64_t(values[at++]);
            rows.back().push_back(v);
            sum += v;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
            outside += v < 0 || v >= int64_t(vertexCount);
        }
        triangles += n >= 3 ? n - 2 : 0;
    }
    EXPECT_EQ(at, values.size());
    EXPECT_EQ(c["face_sizes"].get<Histogram>(), sizes);
    EXPECT_EQ(c["sum_indices"].get<int64_t>(), sum);
    EXPECT_EQ(c["min_index"].get<int64_t>(), lo);
    EXPECT_EQ(c["max_index"].get<int64_t>(), hi);
    EXPECT_EQ(c["indices_out_of_range"].get<size_t>(), outside);
    const json& first = c["first_faces"];
    const json& last = c["last_faces"];
    for (size_t r = 0; r < first.size(); r++) {
        EXPECT_EQ(first[r].get<std::vector<int64_t>>(), rows[r]);
        EXPECT_EQ(last[r].get<std::vector<int64_t>>(), rows[rows.size() - last.size() + r]);
    }

    // Faces with an index outside the mesh never become triangles.
    size_t dropped = 0;
    std::vector<uint32_t> tris = ply::toTriangles(faces, vertexCount, &dropped);
    for (uint32_t i : tris)
        EXPECT_LT(i, vertexCount);
    if (outside == 0) {
        EXPECT_EQ(dropped, 0u);
        EXPECT_EQ(tris.size(), triangles * 3);
    } else {
        EXPECT_GT(dropped, 0u);
    }
}

// The tinyply header record is sound where it exists; compare the structure.
void expectHeader(const json& h, const ply::Header& header)
{
    EXPECT_EQ(h["is_binary"].get<bool>(), header.format != ply::Format::Ascii);
    EXPECT_EQ(h["is_big_endian"].get<bool>(), header.format == ply::Format::BinaryBigEndian);
    // The recorded reader keeps the CR of CR LF headers in comment text; we do not.
    auto lines = [](const json& j) {
        std::vector<std::string> out = j.get<std::vector<std::string>>();
        for (std::string& s : out)
            if (!s.empty() && s.back() == '\r')
                s.pop_back();
        return out;
    };
    EXPECT_EQ(lines(h["comments"]), header.comments);
    EXPECT_EQ(lines(h["obj_info"]), header.objInfo);
    ASSERT_EQ(h["elements"].size(), header.elements.size());
    for (size_t e = 0; e < header.elements.size(); e++) {
        const json& je = h["elements"][e];
        const ply::Element& el = header.elements[e];
        EXPECT_EQ(je["name"], el.name);
        EXPECT_EQ(je["count"].get<uint64_t>(), el.count);
        ASSERT_EQ(je["properties"].size(), el.properties.size());
        for (size_t p = 0; p < el.properties.size(); p++) {
            const json& jp = je["properties"][p];
            EXPECT_EQ(jp["name"], el.properties[p].name);
            EXPECT_EQ(jp["type"], ply::typeName(el.properties[p].type));
            EXPECT_EQ(jp.value("list", false), el.properties[p].isList);
            if (el.properties[p].isList) {
                EXPECT_EQ(jp["count_type"], ply::typeName(el.properties[p].countType));
            }
        }
    }
}

class PlyVector : public testing::TestWithParam<std::string> {};

TEST_P(PlyVector, MatchesContent)
{
    std::string base = plyTestData() + "/" + GetParam();
    std::vector<char> bytes = fileBytes(base + ".ply");
    std::ifstream jsonFile(base + ".expected.json");
    const json expected = json::parse(jsonFile);
    ASSERT_EQ(expected["size_bytes"].get<size_t>(), bytes.size());
    const json& c = expected["content"];

    auto load = [&] {
        ply::memory_stream in(bytes.data(), bytes.size());
        ply::File file = ply::parseHeader(in);
        if (expected["tinyply"].contains("header"))
            expectHeader(expected["tinyply"]["header"], file.header);
        std::shared_ptr<ply::Buffer> xyz, rgb, faces;
        if (ply::findElement(file.header, "vertex"))
            xyz = ply::request(file, "vertex", {"x", "y", "z"});
        if (ply::hasProperty(file.header, "vertex", "red"))
            rgb = ply::request(file, "vertex", {"red", "green", "blue"});
        bool indices = ply::hasProperty(file.header, "face", "vertex_indices");
        if (indices || ply::hasProperty(file.header, "face", "vertex_index"))
            faces = ply::request(file, "face", {indices ? "vertex_indices" : "vertex_index"});
        ply::read(file, in);
        return std::make_tuple(file, xyz, rgb, faces);
    };

    if (!c["readable"].get<bool>()) {
        EXPECT_THROW(load(), ply::Error) << c["reason"];
        return;
    }
    auto [file, xyz, rgb, faces] = load();
    const char* formats[] = {"ascii", "binary_little_endian", "binary_big_endian"};
    EXPECT_EQ(c["format"], formats[int(file.header.format)]);

    ASSERT_TRUE(xyz);
    EXPECT_EQ(c["vertex_count"].get<size_t>(), xyz->count);
    static const char* const xyzNames[3] = {"x", "y", "z"};
    static const char* const rgbNames[3] = {"red", "green", "blue"};
    if (c.contains("sum_x"))
        expectColumns(c, *xyz, "xyz", xyzNames);

    if (xyz->count > 0) {
        EXPECT_EQ(c.contains("sum_red"), bool(rgb));
    }
    // Out-of-range colours are clamped, not kept: that case has its own test.
    if (c.value("colour_values_outside_declared_type", 0) == 0 && c.contains("sum_red"))
        expectColumns(c, *rgb, "rgb", rgbNames);

    if (c["face_count"].is_null()) {
        EXPECT_FALSE(faces);
        return;
    }
    ASSERT_TRUE(faces);
    EXPECT_EQ(c["face_count"].get<size_t>(), faces->count);
    EXPECT_EQ(faces->listSizes.size(), faces->count);
    if (c.contains("face_sizes"))
        expectFaces(c, *faces, xyz->count);
}

std::string testName(const testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param;
    std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum((unsigned char)ch); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, PlyVector, testing::ValuesIn(vectorNames()), testName);

TEST(PlyVectors, FolderIsComplete)
{
    EXPECT_GE(vectorNames().size(), 46u) << plyTestData();
}

} // namespace
