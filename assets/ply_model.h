// ply_model.h - the thorn: a coloured triangle model read from a PLY file,
// normalised and recorded once into a display list.
#pragma once
#include <GL/glew.h>
#include <cstdint>
#include <string>
#include <vector>

// The whole file. Throws std::runtime_error "could not open binary ifstream
// to path ..." when it cannot be opened.
std::vector<char> readFileBytes(const std::string& path);

struct PlyModel {
    std::vector<float> xyz;           // 3 per vertex
    std::vector<uint8_t> rgb;         // 3 per vertex; white when the file has none
    std::vector<uint32_t> triangles;  // 3 per face, every index below the vertex count
};

// Parses PLY bytes, printing the import log. Missing properties are reported
// on standard error and left empty; faces that are not triangles or that name
// missing vertices are skipped with one line. Throws on a broken file.
PlyModel parsePlyModel(const std::vector<char>& bytes, const std::string& path);

struct ModelPlacement {
    float centre[3];
    float scale;
};

// Centre and scale from the running lower bound L and the bound U that takes
// each coordinate found above L as it is read (not the per-axis maximum: the
// scenes place the thorn as normalised this way).
ModelPlacement modelPlacement(const std::vector<float>& xyz);

// Reads, normalises and records the model into a new display list stored in
// *list. Needs the GL context; reports every failure itself and never throws.
void loadPlyModel(const std::string& path, GLuint* list);
