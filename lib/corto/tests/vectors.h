// Access to the recorded stream vectors shared by the corto tests.
#pragma once
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

std::string vectorDir();
std::vector<uint8_t> readFile(const std::string& path);
nlohmann::json readJson(const std::string& path);
// Names of all vectors (the .json stems), sorted.
std::vector<std::string> vectorNames();

#include "crt_encoder.h"

#include <memory>

// A vector's recorded input mesh, flattened.
struct MeshIn {
    uint32_t nvert = 0, nface = 0;
    std::vector<float> position, uv, normal, radius;
    std::vector<uint8_t> color;
    int colorComponents = 0;
    std::vector<uint32_t> index;
};

MeshIn meshFromJson(const nlohmann::json& mesh);
// The step of a recorded attribute (0 when absent).
float attributeQ(const nlohmann::json& vec, const std::string& name);

// The vector's input encoded with the settings the recorded stream used; the encoder keeps
// pointers into `in`.
struct VectorEncoding {
    std::unique_ptr<crt::Encoder> encoder;
    int colorBits[4] = {6, 7, 6, 5};
    bool border = false;
};
VectorEncoding encodeVector(const std::string& name, const nlohmann::json& vec, const MeshIn& in);
