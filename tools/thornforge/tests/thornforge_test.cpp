#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "thorn.h"

namespace {

std::string readAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// Just enough of a reader for the layout the show asks for; fails the test on anything else.
ThornMesh parsePly(const std::string& bytes) {
  ThornMesh m;
  size_t end = bytes.find("end_header\n");
  EXPECT_NE(end, std::string::npos);
  if (end == std::string::npos) return m;
  std::istringstream head(bytes.substr(0, end));
  std::string line, props;
  size_t nv = 0, nf = 0;
  while (std::getline(head, line)) {
    if (line.rfind("element vertex ", 0) == 0) nv = std::stoul(line.substr(15));
    else if (line.rfind("element face ", 0) == 0) nf = std::stoul(line.substr(13));
    else if (line.rfind("property ", 0) == 0) props += line.substr(9) + ";";
    else if (line.rfind("format ", 0) == 0) {
      EXPECT_EQ(line, "format binary_little_endian 1.0");
    }
  }
  EXPECT_EQ(props, "float x;float y;float z;uchar red;uchar green;uchar blue;list uchar int vertex_indices;");
  size_t at = end + 11;
  EXPECT_EQ(bytes.size(), at + nv * 15 + nf * 13);
  if (bytes.size() != at + nv * 15 + nf * 13) return m;
  for (size_t i = 0; i < nv; i++, at += 15) {
    ThornVertex v;
    std::memcpy(&v.x, &bytes[at], 4);
    std::memcpy(&v.y, &bytes[at + 4], 4);
    std::memcpy(&v.z, &bytes[at + 8], 4);
    v.r = (uint8_t)bytes[at + 12];
    v.g = (uint8_t)bytes[at + 13];
    v.b = (uint8_t)bytes[at + 14];
    m.vertices.push_back(v);
  }
  for (size_t i = 0; i < nf; i++, at += 13) {
    EXPECT_EQ(bytes[at], 3) << "face " << i;
    std::array<int, 3> f;
    std::memcpy(f.data(), &bytes[at + 1], 12);
    m.faces.push_back(f);
  }
  return m;
}

}  // namespace

TEST(ThornforgeOutput, FileHoldsAColouredTriangleModelWithSaneIndices) {
  ThornMesh m = parsePly(readAll(std::string(TORVANEL_SOURCE_DIR) + "/Resources/torvanel/thorn.ply"));
  ASSERT_GT(m.faces.size(), 2000u);
  EXPECT_LT(m.faces.size(), 10000u);
  std::set<int> used;
  for (const auto& f : m.faces) {
    for (int i : f) {
      ASSERT_GE(i, 0);
      ASSERT_LT(i, (int)m.vertices.size());
      used.insert(i);
    }
    EXPECT_TRUE(f[0] != f[1] && f[1] != f[2] && f[0] != f[2]);
  }
  EXPECT_EQ(used.size() + 1, m.vertices.size());  // only the bounds corner is left out
  int dark = 0, pale = 0;
  for (const ThornVertex& v : m.vertices) {
    ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
    int sum = v.r + v.g + v.b;
    dark += sum < 200;
    pale += sum > 450;
  }
  EXPECT_GT(dark, (int)m.vertices.size() / 2);  // dark wood...
  EXPECT_GT(pale, 50);                           // ...with pale thorn tips
}

TEST(ThornforgeOutput, ShowsNormalisationCentresTheCrown) {
  ThornMesh m = makeThornCrown(20260u);
  float lo[3] = {10000, 10000, 10000}, hi[3] = {-10000, -10000, -10000}, mn[3] = {1e9, 1e9, 1e9}, mx[3] = {-1e9, -1e9, -1e9};
  for (const ThornVertex& v : m.vertices) {
    const float p[3] = {v.x, v.y, v.z};
    for (int a = 0; a < 3; a++) {
      if (lo[a] > p[a]) lo[a] = p[a];
      if (p[a] > lo[a]) hi[a] = p[a];
      mn[a] = std::min(mn[a], p[a]);
      mx[a] = std::max(mx[a], p[a]);
    }
  }
  for (int a = 0; a < 3; a++) {
    EXPECT_EQ(lo[a], mn[a]) << a;
    EXPECT_EQ(hi[a], mx[a]) << a;
  }
  // A crown: wide in x and z, low in y.
  EXPECT_NEAR(mx[0] - mn[0], mx[2] - mn[2], 0.2);
  EXPECT_LT(mx[1] - mn[1], 0.5f * (mx[0] - mn[0]));
}

TEST(ThornforgeOutput, SecondRunGivesIdenticalBytes) {
  std::filesystem::remove_all(THORNFORGE_SCRATCH);
  std::string cmd = std::string("\"") + THORNFORGE_EXE + "\" --out \"" + THORNFORGE_SCRATCH + "\" > /dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::string fresh = readAll(std::string(THORNFORGE_SCRATCH) + "/torvanel/thorn.ply");
  ASSERT_FALSE(fresh.empty());
  EXPECT_TRUE(fresh == readAll(std::string(TORVANEL_SOURCE_DIR) + "/Resources/torvanel/thorn.ply"));
}
