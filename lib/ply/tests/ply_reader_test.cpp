#include "memory_stream.h"
#include "ply_reader.h"
#include "ply_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

struct Loaded {
    ply::File file;
    std::shared_ptr<ply::Buffer> buffer;
};

// Parses `text`, requests `names` of `element` and reads the body.
Loaded load(const std::string& text, const std::string& element, const std::vector<std::string>& names)
{
    ply::memory_stream in(text.data(), text.size());
    Loaded out{ply::parseHeader(in), nullptr};
    out.buffer = ply::request(out.file, element, names);
    ply::read(out.file, in);
    return out;
}

std::string errorOf(const std::string& text, const std::string& element = "vertex",
                    const std::vector<std::string>& names = {"x"})
{
    try {
        load(text, element, names);
    } catch (const ply::Error& e) {
        return e.what();
    }
    return "no error";
}

template <typename T> void append(std::string& out, T v, bool big)
{
    char raw[sizeof v];
    std::memcpy(raw, &v, sizeof v);
    if (big)
        std::reverse(raw, raw + sizeof v);
    out.append(raw, sizeof v);
}

const char* scalarHeader = "element v 2\nproperty char a\nproperty uchar b\nproperty short c\nproperty ushort d\n"
                           "property int e\nproperty uint f\nproperty float g\nproperty double h\nend_header\n";
const std::vector<std::string> scalarNames = {"a", "b", "c", "d", "e", "f", "g", "h"};
const double scalarRows[2][8] = {{-128, 255, -32768, 65535, -2147483648.0, 4294967295.0, 0.5f, 1e300},
                                 {127, 0, 32767, 0, 2147483647, 0, -3.25f, -0.1}};

std::string binaryScalars(bool big)
{
    std::string s = std::string("ply\nformat ") + (big ? "binary_big_endian" : "binary_little_endian") +
                    " 1.0\n" + scalarHeader;
    for (const double* r : scalarRows) {
        append(s, int8_t(r[0]), big);
        append(s, uint8_t(r[1]), big);
        append(s, int16_t(r[2]), big);
        append(s, uint16_t(r[3]), big);
        append(s, int32_t(r[4]), big);
        append(s, uint32_t(r[5]), big);
        append(s, float(r[6]), big);
        append(s, r[7], big);
    }
    return s;
}

TEST(PlyReader, EveryScalarTypeInEveryFormat)
{
    std::string ascii = std::string("ply\nformat ascii 1.0\n") + scalarHeader +
                        "-128 255 -32768 65535 -2147483648 4294967295 0.5 1e300\n"
                        "+127 0 32767 0 2147483647 0 -3.25 -0.1\n";
    for (const std::string& text : {ascii, binaryScalars(false), binaryScalars(true)}) {
        Loaded l = load(text, "v", scalarNames);
        ASSERT_EQ(l.buffer->type, ply::Type::Float64);
        ASSERT_EQ(l.buffer->count, 2u);
        ASSERT_EQ(ply::valueCount(*l.buffer), 16u);
        for (size_t i = 0; i < 16; i++) {
            double v;
            std::memcpy(&v, l.buffer->bytes.data() + i * 8, 8);
            EXPECT_EQ(v, scalarRows[i / 8][i % 8]) << i;
        }
    }
}

TEST(PlyReader, MixedTypesShareTheSmallestCommonType)
{
    std::string text = binaryScalars(false);
    struct Case { std::vector<std::string> names; ply::Type type; std::vector<double> first; };
    const Case cases[] = {
        {{"a", "b"}, ply::Type::Int16, {-128, 255}},
        {{"b", "d"}, ply::Type::Uint16, {255, 65535}},
        {{"c", "d"}, ply::Type::Int32, {-32768, 65535}},
        {{"a", "e"}, ply::Type::Int32, {-128, -2147483648.0}},
        {{"e", "f"}, ply::Type::Float64, {-2147483648.0, 4294967295.0}},
        {{"d", "g"}, ply::Type::Float64, {65535, 0.5}},
    };
    for (const Case& c : cases) {
        Loaded l = load(text, "v", c.names);
        EXPECT_EQ(l.buffer->type, c.type) << c.names[0] << c.names[1];
        std::vector<double> v = ply::toDouble(*l.buffer);
        EXPECT_EQ(std::vector<double>(v.begin(), v.begin() + 2), c.first) << c.names[0] << c.names[1];
    }
}

TEST(PlyReader, ListsWithAnyCountAndItemType)
{
    for (bool big : {false, true}) {
        std::string s = std::string("ply\nformat ") + (big ? "binary_big_endian" : "binary_little_endian") +
                        " 1.0\nelement f 2\nproperty list ushort short a\nproperty list int double b\n"
                        "property list uint char c\nend_header\n";
        for (int row = 0; row < 2; row++) {
            append(s, uint16_t(2), big);
            append(s, int16_t(-7 - row), big);
            append(s, int16_t(300), big);
            append(s, int32_t(row), big);
            if (row)
                append(s, 2.5, big);
            append(s, uint32_t(1), big);
            append(s, int8_t(-1), big);
        }
        Loaded l = load(s, "f", {"b"});
        EXPECT_EQ(l.buffer->type, ply::Type::Float64);
        EXPECT_EQ(l.buffer->listSizes, (std::vector<uint32_t>{0, 1}));
        EXPECT_EQ(ply::toFloat(*l.buffer), std::vector<float>{2.5f});
        Loaded a = load(s, "f", {"a"});
        EXPECT_EQ(a.buffer->type, ply::Type::Int16);
        EXPECT_EQ(ply::toFloat(*a.buffer), (std::vector<float>{-7, 300, -8, 300}));
    }
}

TEST(PlyReader, HeaderDetails)
{
    std::string text = "ply\r\nformat ascii 1.0\r\ncomment  two spaces\r\nobj_info units m\r\ncomment\r\n"
                       "element vertex 1\r\nproperty float x\r\nelement empty 18446744073709551615\r\n"
                       "end_header\r\n1.5\r\n";
    Loaded l = load(text, "vertex", {"x"});
    EXPECT_EQ(l.file.header.comments, (std::vector<std::string>{" two spaces", ""}));
    EXPECT_EQ(l.file.header.objInfo, std::vector<std::string>{"units m"});
    EXPECT_EQ(ply::toFloat(*l.buffer), std::vector<float>{1.5f});
}

TEST(PlyReader, HeaderErrors)
{
    const std::string fmt = "ply\nformat ascii 1.0\n";
    struct Case { std::string text, message; };
    const Case cases[] = {
        {"", "empty input"},
        {"PLY\n", "magic"},
        {"ply\nelement vertex 1\nproperty float x\nend_header\n", "format"},
        {"ply\nformat binary_middle_endian 1.0\nend_header\n", "unknown format"},
        {fmt + "element vertex 1\nproperty flot x\nend_header\n", "unknown type 'flot'"},
        {fmt + "element vertex 1\nproperty list float int x\nend_header\n", "count type"},
        {fmt + "property float x\nend_header\n", "before any element"},
        {fmt + "element vertex -3\nend_header\n", "negative count"},
        {fmt + "element vertex 99999999999999999999\nend_header\n", "bad count"},
        {fmt + "element vertex 1x\nend_header\n", "bad count"},
        {fmt + "element vertex 1\nproperty float x\nproperty float x\nend_header\n", "declared twice"},
        {fmt + "element vertex 1\nproperty float x\n", "no end_header"},
    };
    for (const Case& c : cases)
        EXPECT_NE(errorOf(c.text).find(c.message), std::string::npos) << c.text << " -> " << errorOf(c.text);
}

TEST(PlyReader, BodyErrors)
{
    const std::string ascii = "ply\nformat ascii 1.0\n";
    const std::string le = "ply\nformat binary_little_endian 1.0\n";
    const std::string list = "element vertex 1\nproperty list char int x\nend_header\n";
    const std::string listInt = "element vertex 1\nproperty list int int x\nend_header\n";
    struct Case { std::string text, message; };
    const Case cases[] = {
        {ascii + "element vertex 2\nproperty float x\nend_header\n1        \n", "end of data"},
        {ascii + "element vertex 1\nproperty uchar x\nend_header\n1.5\n", "expected an integer, found '1.5'"},
        {ascii + "element vertex 1\nproperty float x\nend_header\n1.5.2\n", "expected a number"},
        {ascii + "element vertex 1\nproperty float x\nend_header\n1e39\n", "out of range for float"},
        {ascii + list + "-1 5\n", "negative list count"},
        {ascii + list + "200 5\n", "does not fit"},
        {ascii + list + "100 5\n", "larger than the rest"},
        {le + list + std::string("\xff", 1), "negative list count"},
        {le + listInt + std::string("\xff\xff\xff\x7f", 4), "larger than the rest"},
        {le + "element vertex 3\nproperty float x\nend_header\n12345678", "declares 3 rows"},
        {le + "element vertex 6148914691236517206\nproperty float x\nproperty float y\nproperty float z\n"
              "end_header\n12345678", "declares 6148914691236517206 rows"},
    };
    for (const Case& c : cases)
        EXPECT_NE(errorOf(c.text).find(c.message), std::string::npos) << c.text << " -> " << errorOf(c.text);
}

TEST(PlyReader, RequestErrorsLeaveTheFileUsable)
{
    std::string text = "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\n"
                       "property list uchar int l\nend_header\n1 2 1 0\n";
    ply::memory_stream in(text.data(), text.size());
    ply::File file = ply::parseHeader(in);
    auto message = [&](const std::string& element, const std::vector<std::string>& names) -> std::string {
        try {
            ply::request(file, element, names);
        } catch (const ply::Error& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(message("face", {"vertex_indices"}), "no element 'face' in the PLY header");
    EXPECT_EQ(message("vertex", {"x", "red", "blue"}), "element 'vertex' has no property red, blue");
    EXPECT_NE(message("vertex", {"x", "l"}).find("on its own"), std::string::npos);
    EXPECT_NE(message("vertex", {"y", "y"}).find("twice"), std::string::npos);
    EXPECT_EQ(file.requests.size(), 0u);
    auto x = ply::request(file, "vertex", {"x"});
    EXPECT_NE(message("vertex", {"x"}).find("twice"), std::string::npos);
    ply::read(file, in);
    EXPECT_EQ(ply::toFloat(*x), std::vector<float>{1});
}

TEST(PlyReader, AsciiIntegersOutOfRangeAreClamped)
{
    std::vector<char> bytes = fileBytes(plyTestData() + "/ascii_colour_out_of_range.ply");
    Loaded l = load(std::string(bytes.begin(), bytes.end()), "vertex", {"red", "green", "blue"});
    std::vector<uint8_t> rgb = ply::toUint8(*l.buffer);
    ASSERT_EQ(rgb.size(), 24u);
    EXPECT_EQ((std::vector<uint8_t>(rgb.begin() + 3, rgb.begin() + 6)), (std::vector<uint8_t>{255, 0, 0}));
    EXPECT_EQ(rgb[17], 255); // 300
    int sums[3] = {};
    for (size_t i = 0; i < rgb.size(); i++)
        sums[i % 3] += rgb[i];
    EXPECT_EQ(sums[0], 1287);
    EXPECT_EQ(sums[1], 799);
    EXPECT_EQ(sums[2], 1076);
}

TEST(PlyConvert, TrianglesFromPolygons)
{
    ply::Buffer faces;
    faces.type = ply::Type::Int32;
    faces.count = 5;
    faces.listSizes = {4, 3, 2, 3, 5};
    std::vector<int32_t> v = {0, 1, 2, 3, 0, 9, 1, 1, 2, -1, 0, 1, 0, 1, 2, 3, 4};
    faces.bytes.resize(v.size() * 4);
    std::memcpy(faces.bytes.data(), v.data(), faces.bytes.size());
    size_t dropped = 0;
    EXPECT_EQ(ply::toTriangles(faces, 5, &dropped),
              (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 0, 1, 2, 0, 2, 3, 0, 3, 4}));
    EXPECT_EQ(dropped, 3u); // index 9, two vertices, index -1
    EXPECT_THROW(ply::toUint32(faces), ply::Error);
    faces.listSizes.push_back(1);
    EXPECT_THROW(ply::toTriangles(faces, 5), ply::Error);
}

TEST(PlyConvert, Colours)
{
    ply::Buffer b;
    b.type = ply::Type::Float32;
    b.width = 1;
    std::vector<float> v = {0.0f, 1.0f, 0.5f, -2.0f, 7.0f, NAN};
    b.count = v.size();
    b.bytes.resize(v.size() * 4);
    std::memcpy(b.bytes.data(), v.data(), b.bytes.size());
    EXPECT_EQ(ply::toUint8(b), (std::vector<uint8_t>{0, 255, 128, 0, 255, 0}));
    b.type = ply::Type::Int16;
    b.bytes = {0x2c, 0x01, 0xff, 0xff, 0x80, 0x00}; // 300, -1, 128
    EXPECT_EQ(ply::toUint8(b), (std::vector<uint8_t>{255, 0, 128}));
}

TEST(MemoryStream, ReadsAndSeeks)
{
    const char data[] = "0123456789";
    ply::memory_stream in(data, 10);
    char c;
    in.seekg(-3, std::ios::end);
    EXPECT_EQ(in.tellg(), 7);
    in.get(c);
    EXPECT_EQ(c, '7');
    in.seekg(-8, std::ios::cur);
    in.get(c);
    EXPECT_EQ(c, '0');
    in.seekg(4);
    in.get(c);
    EXPECT_EQ(c, '4');
    in.seekg(11);
    EXPECT_TRUE(in.fail());
    in.clear();
    in.seekg(-1, std::ios::beg);
    EXPECT_TRUE(in.fail());
    in.clear();
    in.seekg(9);
    char rest[4];
    in.read(rest, 4);
    EXPECT_EQ(in.gcount(), 1);
    EXPECT_TRUE(in.eof());
}

} // namespace
