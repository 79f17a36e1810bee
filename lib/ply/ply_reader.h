// PLY reader: ascii, binary little-endian and binary big-endian.
//
//   ply::File file = ply::parseHeader(in);                 // throws ply::Error
//   auto xyz = ply::request(file, "vertex", {"x", "y", "z"}); // throws if missing
//   auto idx = ply::request(file, "face", {"vertex_indices"});
//   ply::read(file, in);                                    // fills the buffers
//   std::vector<float> p = ply::toFloat(*xyz);
//   std::vector<uint32_t> t = ply::toTriangles(*idx, xyz->count, &dropped);
//
// Values are looked up by name, never by position. Every count in the file is
// checked against the bytes actually left before anything is allocated, so a
// lying or hostile header gives an Error, not a huge allocation or an overrun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ply {

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class Type : uint8_t { Int8, Uint8, Int16, Uint16, Int32, Uint32, Float32, Float64 };
enum class Format : uint8_t { Ascii, BinaryLittleEndian, BinaryBigEndian };

size_t typeSize(Type type);
// The short names: char uchar short ushort int uint float double.
const char* typeName(Type type);

struct Property {
    std::string name;
    Type type = Type::Float32;      // the item type for a list
    bool isList = false;
    Type countType = Type::Uint8;   // lists only
};

struct Element {
    std::string name;
    uint64_t count = 0;
    std::vector<Property> properties;
};

struct Header {
    Format format = Format::Ascii;
    std::vector<std::string> comments;   // text after "comment "
    std::vector<std::string> objInfo;    // text after "obj_info "
    std::vector<Element> elements;
};

// Values of one request, in native byte order, row after row.
// Scalar requests hold `width` values per row (one per requested name, in the
// order requested). A list request has width 0 and one entry in listSizes per
// row. The type is the declared one when all requested properties share it,
// otherwise the smallest one holding all their values: a wider integer type
// for mixed integers, Float64 as soon as a float is involved.
struct Buffer {
    Type type = Type::Float32;
    size_t count = 0;                 // rows read
    size_t width = 0;
    std::vector<uint32_t> listSizes;
    std::vector<uint8_t> bytes;
};

struct Request {
    size_t element = 0;                   // index into header.elements
    std::vector<size_t> properties;       // indices into its properties
    std::shared_ptr<Buffer> buffer;
};

struct File {
    Header header;
    std::vector<Request> requests;
};

// Reads the header and leaves the stream at the first byte of the body.
File parseHeader(std::istream& in);

const Element* findElement(const Header& header, const std::string& element);
bool hasProperty(const Header& header, const std::string& element, const std::string& property);

// Several scalar properties, or exactly one list property, of one element.
// Throws when the element or a property is missing; the file is unchanged then.
std::shared_ptr<Buffer> request(File& file, const std::string& element,
                                const std::vector<std::string>& properties);

// Reads the body; every requested buffer is filled or an Error is thrown.
void read(File& file, std::istream& in);

size_t valueCount(const Buffer& buffer);

// Conversions of all values of a buffer; toDouble is exact. toFloat maps doubles beyond the float
// range to infinities. toUint8 saturates integers to 0..255 and takes floating
// point values as 0..1 intensities (colour exporters write either). toUint32
// throws on a value that is negative, fractional or too large.
std::vector<double> toDouble(const Buffer& buffer);
std::vector<float> toFloat(const Buffer& buffer);
std::vector<uint8_t> toUint8(const Buffer& buffer);
std::vector<uint32_t> toUint32(const Buffer& buffer);

// Triangle indices from an integer list buffer: polygons are split into fans,
// faces with fewer than 3 vertices or an index outside 0..vertexCount-1 are
// left out and counted in *dropped (when given).
std::vector<uint32_t> toTriangles(const Buffer& faces, size_t vertexCount, size_t* dropped = nullptr);

} // namespace ply
