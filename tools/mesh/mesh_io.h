// mesh_io.h - meshes in and out of the files a demo maker works with: PLY and
// OBJ in, compressed streams and frame files out, and back.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ToolMesh {
    std::vector<float> xyz;       // 3 per vertex
    std::vector<float> uv;        // 2 per vertex, or empty
    std::vector<uint8_t> rgb;     // 3 per vertex, or empty
    std::vector<uint32_t> index;  // 3 per face; empty for a point cloud
    std::vector<std::string> attributes;
};

// Reads a PLY (vertex x y z, optional s t / u v / texture_u texture_v, red
// green blue, face vertex_indices) or a Wavefront OBJ (v, vt, f; vertices
// split where one position carries several texture coordinates). False with
// a message in *error when it cannot.
bool readMeshFile(const std::string& path, ToolMesh* mesh, std::string* error);

// Decodes a bare stream, colours as three bytes per vertex.
bool decodeStream(const uint8_t* data, size_t size, ToolMesh* mesh, std::string* error);

// `order`, when given, receives the input vertex of every stored vertex.
bool encodeStream(const ToolMesh& mesh, std::vector<uint8_t>* stream, std::string* error,
                  std::vector<uint32_t>* order = nullptr);

// A frame file: the stream, the 22 records (zeros without `records`), the picture bytes.
std::vector<uint8_t> frameFileBytes(const std::vector<uint8_t>& stream, const std::vector<uint8_t>& picture,
                                    const int32_t (*records)[3] = nullptr);

// The stream and picture of a frame file, lengths checked.
bool splitFrameFile(const std::vector<uint8_t>& file, std::vector<uint8_t>* stream, std::vector<uint8_t>* picture,
                    std::string* error);

bool writePly(const std::string& path, const ToolMesh& mesh);
