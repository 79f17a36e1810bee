#include "ply_reader.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace ply {

namespace {

double valueAt(const Buffer& buffer, size_t i)
{
    const uint8_t* p = buffer.bytes.data() + i * typeSize(buffer.type);
    auto as = [p](auto v) {
        std::memcpy(&v, p, sizeof v);
        return double(v);
    };
    switch (buffer.type) {
    case Type::Int8: return as(int8_t());
    case Type::Uint8: return as(uint8_t());
    case Type::Int16: return as(int16_t());
    case Type::Uint16: return as(uint16_t());
    case Type::Int32: return as(int32_t());
    case Type::Uint32: return as(uint32_t());
    case Type::Float32: return as(float());
    case Type::Float64: return as(double());
    }
    return 0;
}

bool isIndex(double v) { return v >= 0 && v <= double(UINT32_MAX) && v == std::floor(v); }

} // namespace

size_t valueCount(const Buffer& buffer) { return buffer.bytes.size() / typeSize(buffer.type); }

std::vector<double> toDouble(const Buffer& buffer)
{
    std::vector<double> out(valueCount(buffer));
    for (size_t i = 0; i < out.size(); i++)
        out[i] = valueAt(buffer, i);
    return out;
}

std::vector<float> toFloat(const Buffer& buffer)
{
    size_t n = valueCount(buffer);
    std::vector<float> out(n);
    if (buffer.type == Type::Float32) {
        if (n > 0)
            std::memcpy(out.data(), buffer.bytes.data(), n * sizeof(float));
        return out;
    }
    for (size_t i = 0; i < n; i++) {
        double v = valueAt(buffer, i);
        // Out-of-range double to float conversion is undefined; make it infinite.
        out[i] = v > FLT_MAX ? INFINITY : v < -FLT_MAX ? -INFINITY : float(v);
    }
    return out;
}

std::vector<uint8_t> toUint8(const Buffer& buffer)
{
    size_t n = valueCount(buffer);
    std::vector<uint8_t> out(n);
    bool unit = buffer.type == Type::Float32 || buffer.type == Type::Float64;
    for (size_t i = 0; i < n; i++) {
        double v = valueAt(buffer, i);
        if (unit)
            v = std::isnan(v) ? 0.0 : std::floor(std::fmin(std::fmax(v, 0.0), 1.0) * 255.0 + 0.5);
        out[i] = uint8_t(std::fmin(std::fmax(v, 0.0), 255.0));
    }
    return out;
}

std::vector<uint32_t> toUint32(const Buffer& buffer)
{
    size_t n = valueCount(buffer);
    std::vector<uint32_t> out(n);
    for (size_t i = 0; i < n; i++) {
        double v = valueAt(buffer, i);
        if (!isIndex(v))
            throw Error("value " + std::to_string(v) + " is not an unsigned 32-bit integer");
        out[i] = uint32_t(v);
    }
    return out;
}

std::vector<uint32_t> toTriangles(const Buffer& faces, size_t vertexCount, size_t* dropped)
{
    if (faces.width != 0)
        throw Error("face buffer is not a list");
    size_t values = valueCount(faces);
    size_t at = 0;
    size_t skipped = 0;
    std::vector<uint32_t> out;
    for (uint32_t n : faces.listSizes) {
        if (n > values - at)
            throw Error("face list sizes exceed the buffer");
        bool ok = n >= 3;
        for (uint32_t k = 0; k < n && ok; k++) {
            double v = valueAt(faces, at + k);
            ok = isIndex(v) && v < double(vertexCount);
        }
        if (ok) {
            for (uint32_t k = 1; k + 1 < n; k++) {
                out.push_back(uint32_t(valueAt(faces, at)));
                out.push_back(uint32_t(valueAt(faces, at + k)));
                out.push_back(uint32_t(valueAt(faces, at + k + 1)));
            }
        } else {
            skipped++;
        }
        at += n;
    }
    if (dropped)
        *dropped = skipped;
    return out;
}

} // namespace ply
