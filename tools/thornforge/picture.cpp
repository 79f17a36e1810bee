#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

bool writeThornPicture(const ThornMesh& mesh, const std::string& path) {
  const int size = 640;
  // The reader's bounds: the upper bound per axis is the last value above the running minimum.
  float lo[3] = {10000, 10000, 10000}, hi[3] = {-10000, -10000, -10000};
  for (const ThornVertex& v : mesh.vertices) {
    const float p[3] = {v.x, v.y, v.z};
    for (int a = 0; a < 3; a++) {
      if (lo[a] > p[a]) lo[a] = p[a];
      if (p[a] > lo[a]) hi[a] = p[a];
    }
  }
  float c[3], d2 = 0;
  for (int a = 0; a < 3; a++) {
    c[a] = (lo[a] + hi[a]) * 0.5f;
    d2 += (lo[a] - hi[a]) * (lo[a] - hi[a]);
  }
  float s = 1.0f / std::sqrt(d2);
  // Seen from the front and a little above.
  const float tilt = 0.45f, cs = std::cos(tilt), sn = std::sin(tilt);
  std::vector<cv::Point3f> view(mesh.vertices.size());
  for (size_t i = 0; i < view.size(); i++) {
    const ThornVertex& v = mesh.vertices[i];
    float x = (v.x - c[0]) * s, y = (v.y - c[1]) * s, z = (v.z - c[2]) * s;
    view[i] = {x, y * cs - z * sn, y * sn + z * cs};
  }
  std::vector<size_t> order(mesh.faces.size());
  std::iota(order.begin(), order.end(), 0);
  auto depth = [&](size_t f) { return view[mesh.faces[f][0]].z + view[mesh.faces[f][1]].z + view[mesh.faces[f][2]].z; };
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return depth(a) < depth(b); });
  cv::Mat img(size, size, CV_8UC3, cv::Scalar(40, 34, 30));
  for (size_t f : order) {
    cv::Point pts[3];
    int r = 0, g = 0, b = 0;
    for (int k = 0; k < 3; k++) {
      int i = mesh.faces[f][k];
      pts[k] = {(int)(size * 0.5f + view[i].x * size * 1.2f), (int)(size * 0.5f - view[i].y * size * 1.2f)};
      r += mesh.vertices[i].r;
      g += mesh.vertices[i].g;
      b += mesh.vertices[i].b;
    }
    float shade = 0.7f + 0.3f * std::clamp(-depth(f) * 1.5f + 0.5f, 0.0f, 1.0f);
    cv::fillConvexPoly(img, pts, 3, cv::Scalar(b * shade / 3, g * shade / 3, r * shade / 3), cv::LINE_AA);
  }
  if (!cv::imwrite(path, img)) {
    std::fprintf(stderr, "thornforge: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}
