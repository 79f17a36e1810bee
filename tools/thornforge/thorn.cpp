#include "thorn.h"

#include <algorithm>
#include <cmath>

namespace {

const double kTau = 6.283185307179586;

struct V3 {
  double x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 unit(V3 a) { return a * (1.0 / std::sqrt(dot(a, a))); }

struct Rng {
  uint32_t s;
  double next() {  // uniform 0..1
    s = s * 1664525u + 1013904223u;
    return (s >> 8) * (1.0 / 16777216.0);
  }
};

struct Color {
  double r, g, b;
};
Color mix(Color a, Color b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
const Color kBark{58, 40, 24}, kMoss{42, 58, 28}, kTip{214, 196, 150};

struct Strand {
  int turns;            // twists around the ring
  double phase, offset;  // where it sits in the braid
  double radius;        // branch thickness
};

// Centre line of a strand at ring angle a, with the frame (along, out, up) there.
V3 strandPoint(const Strand& s, double a) {
  double tw = s.turns * a + s.phase;
  V3 radial{std::cos(a), 0, std::sin(a)}, up{0, 1, 0};
  return radial * (1.0 + s.offset * std::cos(tw)) + up * (s.offset * std::sin(tw));
}

void addVertex(ThornMesh& m, V3 p, Color c) {
  auto u8 = [](double v) { return (uint8_t)std::clamp(std::lround(v), 0L, 255L); };
  m.vertices.push_back({(float)p.x, (float)p.y, (float)p.z, u8(c.r), u8(c.g), u8(c.b)});
}

// A closed tube along the strand: `sides` vertices per ring, `rings` rings.
void addBranch(ThornMesh& m, const Strand& s, int rings, int sides, Rng& rng) {
  int base = (int)m.vertices.size();
  for (int i = 0; i < rings; i++) {
    double a = kTau * i / rings;
    V3 p = strandPoint(s, a), along = unit(strandPoint(s, a + 1e-3) - p);
    V3 n = unit(cross(along, {0, 1, 0})), b = cross(n, along);
    double swell = 1.0 + 0.18 * std::sin(a * 23.0 + s.phase) + 0.08 * (rng.next() - 0.5);
    Color wood = mix(kBark, kMoss, 0.5 + 0.5 * std::sin(a * 5.0 + s.phase * 3.0));
    for (int k = 0; k < sides; k++) {
      double c = kTau * k / sides;
      double shade = 0.8 + 0.3 * rng.next();
      addVertex(m, p + (n * std::cos(c) + b * std::sin(c)) * (s.radius * swell),
                {wood.r * shade, wood.g * shade, wood.b * shade});
    }
  }
  for (int i = 0; i < rings; i++)
    for (int k = 0; k < sides; k++) {
      int a = base + i * sides + k, b = base + i * sides + (k + 1) % sides;
      int c = base + ((i + 1) % rings) * sides + k, d = base + ((i + 1) % rings) * sides + (k + 1) % sides;
      m.faces.push_back({a, c, b});
      m.faces.push_back({b, c, d});
    }
}

// A thorn: a cone of `sides` growing from `root` along `dir`, bent toward `bend` halfway.
void addThorn(ThornMesh& m, V3 root, V3 dir, V3 bend, double length, double width, Color wood) {
  const int sides = 5;
  V3 side1 = unit(cross(dir, std::fabs(dir.y) < 0.9 ? V3{0, 1, 0} : V3{1, 0, 0})), side2 = cross(dir, side1);
  V3 mid = root + dir * (0.5 * length) + bend * (0.15 * length);
  V3 tip = root + dir * length + bend * (0.45 * length);
  int base = (int)m.vertices.size();
  for (int ring = 0; ring < 2; ring++)
    for (int k = 0; k < sides; k++) {
      double c = kTau * k / sides, w = ring == 0 ? width : width * 0.45;
      V3 centre = ring == 0 ? root : mid;
      addVertex(m, centre + (side1 * std::cos(c) + side2 * std::sin(c)) * w, mix(wood, kTip, ring == 0 ? 0.0 : 0.45));
    }
  addVertex(m, tip, kTip);
  int t = base + 2 * sides;
  for (int k = 0; k < sides; k++) {
    int a = base + k, b = base + (k + 1) % sides, c = base + sides + k, d = base + sides + (k + 1) % sides;
    m.faces.push_back({a, b, c});
    m.faces.push_back({b, d, c});
    m.faces.push_back({c, d, t});
  }
}

}  // namespace

ThornMesh makeThornCrown(uint32_t seed) {
  ThornMesh m;
  Rng rng{seed};
  const Strand strands[3] = {{7, 0.0, 0.075, 0.048}, {7, kTau / 2, 0.075, 0.044}, {5, 1.3, 0.095, 0.028}};
  addBranch(m, strands[0], 150, 6, rng);
  addBranch(m, strands[1], 150, 6, rng);
  addBranch(m, strands[2], 110, 5, rng);
  for (int i = 0; i < 84; i++) {
    const Strand& s = strands[i % 3 == 2 ? 2 : i % 2];
    double a = kTau * (i + 0.6 * rng.next()) / 84;
    V3 p = strandPoint(s, a), along = unit(strandPoint(s, a + 1e-3) - p);
    // Point away from the branch, mostly outward and upward, never along it.
    double spin = kTau * rng.next();
    V3 n = unit(cross(along, {0, 1, 0})), b = cross(n, along);
    V3 out = unit(n * std::cos(spin) + b * std::sin(spin) + V3{p.x, 0.4, p.z} * 0.6);
    out = unit(out - along * dot(out, along));
    double length = 0.12 + 0.12 * rng.next();
    addThorn(m, p + out * (s.radius * 0.6), out, along * (rng.next() < 0.5 ? 1.0 : -1.0), length, s.radius * 0.55,
             mix(kBark, kMoss, rng.next()));
  }
  V3 hi{-1e9, -1e9, -1e9};
  for (const ThornVertex& v : m.vertices) hi = {std::max(hi.x, (double)v.x), std::max(hi.y, (double)v.y), std::max(hi.z, (double)v.z)};
  addVertex(m, hi, kTip);
  return m;
}
