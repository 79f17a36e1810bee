#include "assets/ply_model.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "memory_stream.h"
#include "platform/console.h"
#include "platform/data_dir.h"
#include "ply_reader.h"

std::vector<char> readFileBytes(const std::string& path) {
    std::ifstream file(dataFile(path), std::ios::binary);
    if (!file) throw std::runtime_error("could not open binary ifstream to path " + path);
    file.seekg(0, std::ios::end);
    std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0) throw std::runtime_error("could not read " + path);
    std::vector<char> bytes(static_cast<size_t>(size));
    if (size > 0 && !file.read(bytes.data(), size)) throw std::runtime_error("could not read " + path);
    return bytes;
}

// A float as a whole number when an int64 can hold it; otherwise (and for
// NaN) -1, which no face accepts.
static int64_t wholeNumber(double v) { return v > -9.2e18 && v < 9.2e18 ? int64_t(v) : -1; }

// One value of an integer list buffer, whatever its declared type.
static int64_t integerAt(const ply::Buffer& buffer, size_t k) {
    const uint8_t* p = buffer.bytes.data() + k * ply::typeSize(buffer.type);
    switch (buffer.type) {
        case ply::Type::Int8: { int8_t v; memcpy(&v, p, 1); return v; }
        case ply::Type::Uint8: return *p;
        case ply::Type::Int16: { int16_t v; memcpy(&v, p, 2); return v; }
        case ply::Type::Uint16: { uint16_t v; memcpy(&v, p, 2); return v; }
        case ply::Type::Int32: { int32_t v; memcpy(&v, p, 4); return v; }
        case ply::Type::Uint32: { uint32_t v; memcpy(&v, p, 4); return v; }
        case ply::Type::Float32: { float v; memcpy(&v, p, 4); return wholeNumber(v); }
        case ply::Type::Float64: { double v; memcpy(&v, p, 8); return wholeNumber(v); }
    }
    return -1;
}

static std::shared_ptr<ply::Buffer> guardedRequest(ply::File& file, const char* element,
                                                   const std::vector<std::string>& names) {
    try {
        return ply::request(file, element, names);
    } catch (const std::exception& e) {
        std::cerr << "tinyply exception: " << e.what() << "\n";
        return nullptr;
    }
}

PlyModel parsePlyModel(const std::vector<char>& bytes, const std::string& path) {
    ply::memory_stream in(bytes.data(), bytes.size());
    if (!in) throw std::runtime_error("file_stream failed to open " + path);
    ply::File file = ply::parseHeader(in);
    for (const ply::Element& element : file.header.elements)
        for (const ply::Property& property : element.properties)
            if (property.isList)
                consolePrint(ConsoleLevel::Detail, " (list_type=%s)", ply::typeName(property.countType));

    auto xyz = guardedRequest(file, "vertex", {"x", "y", "z"});
    auto rgb = guardedRequest(file, "vertex", {"red", "green", "blue"});
    auto faces = guardedRequest(file, "face", {"vertex_indices"});
    ply::read(file, in);

    PlyModel model;
    if (xyz) model.xyz = ply::toFloat(*xyz);
    size_t nvert = model.xyz.size() / 3;
    if (rgb) model.rgb = ply::toUint8(*rgb);
    if (model.rgb.size() != nvert * 3) model.rgb.assign(nvert * 3, 255);
    if (faces) {
        size_t skipped = 0, at = 0, values = ply::valueCount(*faces);
        for (uint32_t n : faces->listSizes) {
            if (n > values - at) break;  // lists longer than the buffer: nothing more to read
            bool keep = n == 3;
            for (uint32_t k = 0; keep && k < 3; ++k) {
                int64_t v = integerAt(*faces, at + k);
                keep = v >= 0 && uint64_t(v) < nvert;
            }
            if (keep)
                for (uint32_t k = 0; k < 3; ++k) model.triangles.push_back(uint32_t(integerAt(*faces, at + k)));
            else
                ++skipped;
            at += n;
        }
        if (skipped)
            std::cout << "loadPlyModel - " << path << " - " << skipped
                      << " faces skipped (not triangles or past the vertices)\n";
    }
    return model;
}

ModelPlacement modelPlacement(const std::vector<float>& xyz) {
    float lower[3] = {10000, 10000, 10000}, upper[3] = {-10000, -10000, -10000};
    for (size_t v = 0; v + 2 < xyz.size(); v += 3)
        for (int a = 0; a < 3; ++a) {
            float p = xyz[v + a];
            if (lower[a] > p) lower[a] = p;
            if (p > lower[a]) upper[a] = p;
        }
    ModelPlacement placement;
    float d[3];
    for (int a = 0; a < 3; ++a) {
        placement.centre[a] = (lower[a] + upper[a]) * 0.5f;
        d[a] = lower[a] - upper[a];
    }
    float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    placement.scale = length > 0 ? 1.0f / length : 1.0f;
    return placement;
}

void loadPlyModel(const std::string& path, GLuint* list) {
    consolePrint(ConsoleLevel::Detail, "ply import... %s\n", path.c_str());
    try {
        PlyModel model = parsePlyModel(readFileBytes(path), path);
        ModelPlacement place = modelPlacement(model.xyz);
        *list = glGenLists(1);
        glNewList(*list, GL_COMPILE);
        glBegin(GL_TRIANGLES);
        for (uint32_t k : model.triangles) {
            glColor3f(model.rgb[k * 3] * 0.003921569f, model.rgb[k * 3 + 1] * 0.003921569f,
                      model.rgb[k * 3 + 2] * 0.003921569f);
            glVertex3f((model.xyz[k * 3] - place.centre[0]) * place.scale,
                       (model.xyz[k * 3 + 1] - place.centre[1]) * place.scale,
                       (model.xyz[k * 3 + 2] - place.centre[2]) * place.scale);
        }
        glEnd();
        glEndList();
    } catch (const std::exception& e) {
        std::cerr << "Caught tinyply exception: " << e.what() << "\n";
    }
}
