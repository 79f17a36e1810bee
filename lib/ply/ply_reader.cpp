#include "ply_reader.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

namespace ply {

size_t typeSize(Type type)
{
    switch (type) {
    case Type::Int8: case Type::Uint8: return 1;
    case Type::Int16: case Type::Uint16: return 2;
    case Type::Int32: case Type::Uint32: case Type::Float32: return 4;
    case Type::Float64: return 8;
    }
    return 1;
}

const char* typeName(Type type)
{
    switch (type) {
    case Type::Int8: return "char";
    case Type::Uint8: return "uchar";
    case Type::Int16: return "short";
    case Type::Uint16: return "ushort";
    case Type::Int32: return "int";
    case Type::Uint32: return "uint";
    case Type::Float32: return "float";
    case Type::Float64: return "double";
    }
    return "?";
}

namespace {

bool isFloating(Type type) { return type == Type::Float32 || type == Type::Float64; }

std::optional<Type> parseType(std::string_view name)
{
    struct Alias { const char* a; const char* b; Type type; };
    static const Alias aliases[] = {
        {"char", "int8", Type::Int8},       {"uchar", "uint8", Type::Uint8},
        {"short", "int16", Type::Int16},    {"ushort", "uint16", Type::Uint16},
        {"int", "int32", Type::Int32},      {"uint", "uint32", Type::Uint32},
        {"float", "float32", Type::Float32}, {"double", "float64", Type::Float64},
    };
    for (const Alias& alias : aliases)
        if (name == alias.a || name == alias.b)
            return alias.type;
    return std::nullopt;
}

// The smallest type that holds every value of both, so colours declared
// uchar and ushort stay integers; a double holds anything.
Type commonType(Type a, Type b)
{
    if (a == b)
        return a;
    if (isFloating(a) || isFloating(b))
        return Type::Float64;
    bool signedA = a == Type::Int8 || a == Type::Int16 || a == Type::Int32;
    bool signedB = b == Type::Int8 || b == Type::Int16 || b == Type::Int32;
    Type wide = typeSize(a) >= typeSize(b) ? a : b;
    if (signedA == signedB)
        return wide;
    Type narrowUnsigned = signedA ? b : a;
    if (typeSize(wide) > typeSize(narrowUnsigned) && (wide == a ? signedA : signedB))
        return wide;
    switch (narrowUnsigned) {
    case Type::Uint8: return Type::Int16;
    case Type::Uint16: return Type::Int32;
    default: return Type::Float64;
    }
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::vector<std::string_view> splitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isSpace(line[i]))
            i++;
        size_t start = i;
        while (i < line.size() && !isSpace(line[i]))
            i++;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

// The text after the keyword and the one separator that follows it.
std::string restOfLine(std::string_view line, std::string_view keyword)
{
    size_t at = line.find(keyword) + keyword.size();
    return at < line.size() ? std::string(line.substr(at + 1)) : std::string();
}

[[noreturn]] void headerError(size_t lineNumber, const std::string& what)
{
    throw Error("PLY header line " + std::to_string(lineNumber) + ": " + what);
}

Type headerType(std::string_view word, size_t lineNumber)
{
    std::optional<Type> type = parseType(word);
    if (!type)
        headerError(lineNumber, "unknown type '" + std::string(word) + "'");
    return *type;
}

// Signed 64-bit integer, the whole token or nothing; out-of-range values
// saturate and report it through *clamped.
bool parseInteger(std::string_view token, int64_t& value, bool* clamped = nullptr)
{
    const char* first = token.data();
    const char* last = first + token.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-')
        first++;
    auto [end, ec] = std::from_chars(first, last, value);
    if (end != last || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return false;
    if (ec == std::errc::result_out_of_range) {
        value = *first == '-' ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
        if (clamped)
            *clamped = true;
    }
    return true;
}

bool parseReal(std::string_view token, double& value)
{
    const char* first = token.data();
    const char* last = first + token.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-')
        first++;
    auto [end, ec] = std::from_chars(first, last, value);
    return end == last && ec == std::errc();
}

void integerRange(Type type, int64_t& lo, int64_t& hi)
{
    switch (type) {
    case Type::Int8: lo = INT8_MIN; hi = INT8_MAX; break;
    case Type::Uint8: lo = 0; hi = UINT8_MAX; break;
    case Type::Int16: lo = INT16_MIN; hi = INT16_MAX; break;
    case Type::Uint16: lo = 0; hi = UINT16_MAX; break;
    case Type::Int32: lo = INT32_MIN; hi = INT32_MAX; break;
    default: lo = 0; hi = UINT32_MAX; break;
    }
}

template <typename T> void put(uint8_t* out, T value) { std::memcpy(out, &value, sizeof value); }
template <typename T> T get(const uint8_t* in)
{
    T value;
    std::memcpy(&value, in, sizeof value);
    return value;
}

// Stores an integer (already within the type's range) or a real as `type`.
void storeInteger(Type type, int64_t v, uint8_t* out)
{
    switch (type) {
    case Type::Int8: put(out, int8_t(v)); break;
    case Type::Uint8: put(out, uint8_t(v)); break;
    case Type::Int16: put(out, int16_t(v)); break;
    case Type::Uint16: put(out, uint16_t(v)); break;
    case Type::Int32: put(out, int32_t(v)); break;
    case Type::Uint32: put(out, uint32_t(v)); break;
    case Type::Float32: put(out, float(v)); break;
    case Type::Float64: put(out, double(v)); break;
    }
}

double nativeToDouble(Type type, const uint8_t* in)
{
    switch (type) {
    case Type::Int8: return get<int8_t>(in);
    case Type::Uint8: return get<uint8_t>(in);
    case Type::Int16: return get<int16_t>(in);
    case Type::Uint16: return get<uint16_t>(in);
    case Type::Int32: return get<int32_t>(in);
    case Type::Uint32: return get<uint32_t>(in);
    case Type::Float32: return get<float>(in);
    case Type::Float64: return get<double>(in);
    }
    return 0;
}

Error endOfData() { return Error("unexpected end of data"); }

class BinarySource {
public:
    BinarySource(const uint8_t* begin, const uint8_t* end, bool swap) : p_(begin), end_(end), swap_(swap) {}

    size_t left() const { return size_t(end_ - p_); }
    static size_t minimumBytes(const Property& property)
    {
        return typeSize(property.isList ? property.countType : property.type);
    }

    // `to` holds every value of `from` (see commonType).
    void value(Type from, Type to, uint8_t* out)
    {
        uint8_t raw[8];
        take(from, raw);
        if (to == from)
            std::memcpy(out, raw, typeSize(from));
        else if (to == Type::Float64)
            put(out, nativeToDouble(from, raw));
        else
            storeInteger(to, int64_t(nativeToDouble(from, raw)), out);
    }

    int64_t listCount(Type type)
    {
        uint8_t raw[8];
        take(type, raw);
        return int64_t(nativeToDouble(type, raw));
    }

    void skip(Type type, uint64_t n)
    {
        if (n > left() / typeSize(type))
            throw endOfData();
        p_ += n * typeSize(type);
    }

    bool fits(Type type, uint64_t n) const { return n <= left() / typeSize(type); }

private:
    void take(Type type, uint8_t* raw)
    {
        size_t size = typeSize(type);
        if (left() < size)
            throw endOfData();
        if (swap_)
            std::reverse_copy(p_, p_ + size, raw);
        else
            std::memcpy(raw, p_, size);
        p_ += size;
    }

    const uint8_t* p_;
    const uint8_t* end_;
    bool swap_;
};

class AsciiSource {
public:
    AsciiSource(const uint8_t* begin, const uint8_t* end)
        : p_(reinterpret_cast<const char*>(begin)), end_(reinterpret_cast<const char*>(end)) {}

    // Every value is a token and a separator: at most half the bytes, rounded up.
    size_t left() const { return (size_t(end_ - p_) + 1) / 2; }
    static size_t minimumBytes(const Property&) { return 1; }

    void value(Type from, Type to, uint8_t* out)
    {
        std::string_view token = next();
        if (isFloating(from)) {
            double v;
            if (!parseReal(token, v))
                throw Error("expected a number, found '" + std::string(token) + "'");
            if (from == Type::Float32) {
                if (v > FLT_MAX || v < -FLT_MAX)
                    throw Error("value " + std::string(token) + " out of range for float");
                v = float(v);
            }
            if (to == Type::Float32)
                put(out, float(v));
            else
                put(out, v);
            return;
        }
        int64_t v;
        if (!parseInteger(token, v))
            throw Error("expected an integer, found '" + std::string(token) + "'");
        int64_t lo, hi;
        integerRange(from, lo, hi);
        storeInteger(to, std::clamp(v, lo, hi), out);
    }

    int64_t listCount(Type type)
    {
        std::string_view token = next();
        int64_t v;
        bool clamped = false;
        if (!parseInteger(token, v, &clamped))
            throw Error("expected a list count, found '" + std::string(token) + "'");
        int64_t lo, hi;
        integerRange(type, lo, hi);
        if (v >= 0 && (clamped || v > hi))
            throw Error("list count " + std::string(token) + " does not fit its type " + typeName(type));
        return v;
    }

    void skip(Type type, uint64_t n)
    {
        uint8_t scratch[8];
        for (uint64_t i = 0; i < n; i++)
            value(type, type, scratch);
    }

    bool fits(Type, uint64_t n) const { return n <= left(); }

private:
    std::string_view next()
    {
        while (p_ != end_ && isSpace(*p_))
            p_++;
        if (p_ == end_)
            throw endOfData();
        const char* start = p_;
        while (p_ != end_ && !isSpace(*p_))
            p_++;
        return std::string_view(start, size_t(p_ - start));
    }

    const char* p_;
    const char* end_;
};

struct Target {
    Buffer* buffer = nullptr;
    size_t column = 0;
};

template <typename Source>
void readElement(Source& src, const Element& element, const std::vector<Target>& targets)
{
    // An element without properties occupies no bytes, whatever its count.
    if (element.properties.empty())
        return;
    size_t minimumRow = 0;
    for (const Property& property : element.properties)
        minimumRow += Source::minimumBytes(property);
    if (element.count > src.left() / minimumRow)
        throw Error("element '" + element.name + "' declares " + std::to_string(element.count) +
                    " rows, more than the rest of the file can hold");

    for (const Target& target : targets)
        if (target.buffer && target.column == 0) {
            target.buffer->count = element.count;
            if (target.buffer->width > 0)
                target.buffer->bytes.resize(element.count * target.buffer->width * typeSize(target.buffer->type));
            else
                target.buffer->listSizes.reserve(element.count);
        }

    uint64_t row = 0;
    try {
        for (; row < element.count; row++) {
            for (size_t i = 0; i < element.properties.size(); i++) {
                const Property& property = element.properties[i];
                Buffer* buffer = targets[i].buffer;
                if (!property.isList) {
                    if (buffer) {
                        size_t size = typeSize(buffer->type);
                        uint8_t* out = buffer->bytes.data() + (row * buffer->width + targets[i].column) * size;
                        src.value(property.type, buffer->type, out);
                    } else {
                        src.skip(property.type, 1);
                    }
                    continue;
                }
                int64_t n = src.listCount(property.countType);
                if (n < 0)
                    throw Error("negative list count " + std::to_string(n));
                if (!src.fits(property.type, uint64_t(n)) || uint64_t(n) > UINT32_MAX)
                    throw Error("list count " + std::to_string(n) + " larger than the rest of the file");
                if (!buffer) {
                    src.skip(property.type, uint64_t(n));
                    continue;
                }
                size_t size = typeSize(buffer->type);
                size_t at = buffer->bytes.size();
                buffer->bytes.resize(at + size_t(n) * size);
                for (int64_t k = 0; k < n; k++)
                    src.value(property.type, buffer->type, buffer->bytes.data() + at + size_t(k) * size);
                buffer->listSizes.push_back(uint32_t(n));
            }
        }
    } catch (const Error& e) {
        throw Error("element '" + element.name + "' row " + std::to_string(row) + ": " + e.what());
    }
}

std::vector<uint8_t> readRest(std::istream& in)
{
    std::vector<uint8_t> bytes;
    char chunk[65536];
    while (in) {
        in.read(chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    }
    if (in.bad())
        throw Error("PLY stream read error");
    return bytes;
}

} // namespace

File parseHeader(std::istream& in)
{
    std::string line;
    if (!std::getline(in, line))
        throw Error("not a PLY file: empty input");
    std::vector<std::string_view> words = splitWords(line);
    if (words.size() != 1 || words[0] != "ply")
        throw Error("not a PLY file: missing 'ply' magic line");

    File file;
    Header& header = file.header;
    bool haveFormat = false;
    size_t lineNumber = 1;
    while (std::getline(in, line)) {
        lineNumber++;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        words = splitWords(line);
        if (words.empty())
            continue;
        std::string_view keyword = words[0];
        if (keyword == "end_header") {
            if (!haveFormat)
                headerError(lineNumber, "end_header before any format line");
            return file;
        }
        if (keyword == "comment") {
            header.comments.push_back(restOfLine(line, keyword));
        } else if (keyword == "obj_info") {
            header.objInfo.push_back(restOfLine(line, keyword));
        } else if (keyword == "format") {
            if (words.size() < 2)
                headerError(lineNumber, "format line without a format");
            if (words[1] == "ascii")
                header.format = Format::Ascii;
            else if (words[1] == "binary_little_endian")
                header.format = Format::BinaryLittleEndian;
            else if (words[1] == "binary_big_endian")
                header.format = Format::BinaryBigEndian;
            else
                headerError(lineNumber, "unknown format '" + std::string(words[1]) + "'");
            haveFormat = true;
        } else if (keyword == "element") {
            if (words.size() != 3)
                headerError(lineNumber, "expected 'element NAME COUNT'");
            Element element;
            element.name = std::string(words[1]);
            std::string_view count = words[2];
            if (count[0] == '-')
                headerError(lineNumber, "negative count for element '" + element.name + "'");
            auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), element.count);
            if (ec != std::errc() || end != count.data() + count.size())
                headerError(lineNumber, "bad count '" + std::string(count) + "' for element '" + element.name + "'");
            header.elements.push_back(std::move(element));
        } else if (keyword == "property") {
            if (header.elements.empty())
                headerError(lineNumber, "property before any element");
            Property property;
            if (words.size() == 5 && words[1] == "list") {
                property.isList = true;
                property.countType = headerType(words[2], lineNumber);
                property.type = headerType(words[3], lineNumber);
                property.name = std::string(words[4]);
                if (isFloating(property.countType))
                    headerError(lineNumber, "list count type must be an integer type");
            } else if (words.size() == 3 && words[1] != "list") {
                property.type = headerType(words[1], lineNumber);
                property.name = std::string(words[2]);
            } else {
                headerError(lineNumber, "expected 'property TYPE NAME' or 'property list COUNT_TYPE TYPE NAME'");
            }
            Element& element = header.elements.back();
            for (const Property& other : element.properties)
                if (other.name == property.name)
                    headerError(lineNumber, "property '" + property.name + "' declared twice in element '" +
                                                element.name + "'");
            element.properties.push_back(std::move(property));
        }
        // Any other line is ignored: old exporters wrote free text into headers.
    }
    throw Error("PLY header has no end_header");
}

const Element* findElement(const Header& header, const std::string& element)
{
    for (const Element& e : header.elements)
        if (e.name == element)
            return &e;
    return nullptr;
}

bool hasProperty(const Header& header, const std::string& element, const std::string& property)
{
    const Element* e = findElement(header, element);
    if (!e)
        return false;
    for (const Property& p : e->properties)
        if (p.name == property)
            return true;
    return false;
}

std::shared_ptr<Buffer> request(File& file, const std::string& element, const std::vector<std::string>& properties)
{
    const Element* found = findElement(file.header, element);
    if (!found)
        throw Error("no element '" + element + "' in the PLY header");
    if (properties.empty())
        throw Error("empty request for element '" + element + "'");

    Request req;
    req.element = size_t(found - file.header.elements.data());
    std::string missing;
    for (const std::string& name : properties) {
        size_t i = 0;
        while (i < found->properties.size() && found->properties[i].name != name)
            i++;
        if (i == found->properties.size())
            missing += (missing.empty() ? "" : ", ") + name;
        else
            req.properties.push_back(i);
    }
    if (!missing.empty())
        throw Error("element '" + element + "' has no property " + missing);

    for (size_t k = 0; k < req.properties.size(); k++) {
        size_t i = req.properties[k];
        bool twice = std::count(req.properties.begin(), req.properties.end(), i) > 1;
        for (const Request& other : file.requests)
            if (other.element == req.element)
                twice = twice || std::count(other.properties.begin(), other.properties.end(), i) > 0;
        if (twice)
            throw Error("property '" + found->properties[i].name + "' of '" + element + "' requested twice");
        if (found->properties[i].isList && req.properties.size() != 1)
            throw Error("list property '" + found->properties[i].name + "' must be requested on its own");
    }

    auto buffer = std::make_shared<Buffer>();
    const Property& first = found->properties[req.properties[0]];
    buffer->type = first.type;
    buffer->width = first.isList ? 0 : req.properties.size();
    for (size_t i : req.properties)
        buffer->type = commonType(buffer->type, found->properties[i].type);
    req.buffer = buffer;
    file.requests.push_back(std::move(req));
    return buffer;
}

void read(File& file, std::istream& in)
{
    const Header& header = file.header;
    std::vector<std::vector<Target>> targets(header.elements.size());
    for (size_t e = 0; e < header.elements.size(); e++)
        targets[e].resize(header.elements[e].properties.size());
    for (const Request& req : file.requests) {
        Buffer& buffer = *req.buffer;
        buffer.count = 0;
        buffer.bytes.clear();
        buffer.listSizes.clear();
        for (size_t k = 0; k < req.properties.size(); k++)
            targets[req.element][req.properties[k]] = Target{&buffer, k};
    }

    std::vector<uint8_t> body = readRest(in);
    const uint8_t* begin = body.data();
    const uint8_t* end = begin + body.size();
    if (header.format == Format::Ascii) {
        AsciiSource src(begin, end);
        for (size_t e = 0; e < header.elements.size(); e++)
            readElement(src, header.elements[e], targets[e]);
    } else {
        bool bigEndian = header.format == Format::BinaryBigEndian;
        BinarySource src(begin, end, bigEndian != (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__));
        for (size_t e = 0; e < header.elements.size(); e++)
            readElement(src, header.elements[e], targets[e]);
    }
}

} // namespace ply
