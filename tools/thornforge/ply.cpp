#include "ply.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Byte order spelled out so the file is the same on any host.
void put32(std::vector<unsigned char>& out, uint32_t v) {
  for (int i = 0; i < 4; i++) out.push_back((unsigned char)(v >> (8 * i)));
}
void putFloat(std::vector<unsigned char>& out, float f) {
  uint32_t v;
  std::memcpy(&v, &f, 4);
  put32(out, v);
}

}  // namespace

bool writePly(const ThornMesh& mesh, const std::string& path) {
  std::string header = "ply\nformat binary_little_endian 1.0\ncomment crown of thorns\n";
  header += "element vertex " + std::to_string(mesh.vertices.size()) + "\n";
  header += "property float x\nproperty float y\nproperty float z\n";
  header += "property uchar red\nproperty uchar green\nproperty uchar blue\n";
  header += "element face " + std::to_string(mesh.faces.size()) + "\n";
  header += "property list uchar int vertex_indices\nend_header\n";
  std::vector<unsigned char> out(header.begin(), header.end());
  for (const ThornVertex& v : mesh.vertices) {
    putFloat(out, v.x);
    putFloat(out, v.y);
    putFloat(out, v.z);
    out.insert(out.end(), {v.r, v.g, v.b});
  }
  for (const auto& f : mesh.faces) {
    out.push_back(3);
    for (int i : f) put32(out, (uint32_t)i);
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  bool ok = file && std::fwrite(out.data(), 1, out.size(), file) == out.size();
  if (file && std::fclose(file) != 0) ok = false;
  if (!ok) std::fprintf(stderr, "thornforge: cannot write %s\n", path.c_str());
  return ok;
}
