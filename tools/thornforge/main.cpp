// torvanel-thornforge: writes the thorn model to <out>/torvanel/thorn.ply and,
// on request, a picture of it.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "picture.h"
#include "ply.h"
#include "thorn.h"

int main(int argc, char** argv) {
  std::string out = "Resources", picture;
  for (int i = 1; i < argc; i++) {
    if (!std::strcmp(argv[i], "--out") && i + 1 < argc) out = argv[++i];
    else if (!std::strcmp(argv[i], "--picture") && i + 1 < argc) picture = argv[++i];
    else {
      std::fprintf(stderr, "usage: torvanel-thornforge [--out DIR] [--picture FILE.png]\n");
      return 2;
    }
  }
  ThornMesh mesh = makeThornCrown(20260u);
  std::error_code ec;
  std::filesystem::create_directories(out + "/torvanel", ec);
  std::string path = out + "/torvanel/thorn.ply";
  if (!writePly(mesh, path)) return 1;
  std::printf("thornforge: %zu vertices, %zu triangles -> %s\n", mesh.vertices.size(), mesh.faces.size(), path.c_str());
  if (!picture.empty() && !writeThornPicture(mesh, picture)) return 1;
  return 0;
}
