#include "master.h"

#include <algorithm>
#include <cmath>

namespace {

// Schroeder reverb: parallel damped combs into series all-passes, one per channel
// with slightly different lengths so the tail is wide.
void reverb(const std::vector<float>& in, std::vector<float>& out, int rate, int spread) {
  const int combs[4] = {1557, 1617, 1491, 1422}, passes[2] = {556, 441};
  double scale = rate / 44100.0;
  std::vector<float> acc(in.size(), 0.0f);
  for (int c : combs) {
    std::vector<float> line((size_t)((c + spread) * scale), 0.0f);
    float damp = 0;
    size_t p = 0;
    for (size_t i = 0; i < in.size(); i++) {
      float y = line[p];
      damp = 0.75f * y + 0.25f * damp;
      line[p] = in[i] + 0.8f * damp;
      p = (p + 1) % line.size();
      acc[i] += y;
    }
  }
  for (int a : passes) {
    std::vector<float> line((size_t)((a + spread) * scale), 0.0f);
    size_t p = 0;
    for (float& x : acc) {
      float b = line[p];
      line[p] = x + 0.5f * b;
      x = b - x;
      p = (p + 1) % line.size();
    }
  }
  for (size_t i = 0; i < in.size(); i++) out[i] += 0.12f * acc[i];
}

}  // namespace

std::vector<int16_t> masterMix(const Bus& bus, double fadeFrom, double fadeTo, double peakDb) {
  std::vector<float> left = bus.left, right = bus.right;
  reverb(bus.sendL, left, bus.rate, 0);
  reverb(bus.sendR, right, bus.rate, 23);
  size_t n = left.size();
  float peak = 1e-9f;
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / bus.rate;
    float g = t < fadeFrom ? 1.0f : t >= fadeTo ? 0.0f : (float)((fadeTo - t) / (fadeTo - fadeFrom));
    left[i] *= g;
    right[i] *= g;
    peak = std::max(peak, std::max(std::fabs(left[i]), std::fabs(right[i])));
  }
  float gain = (float)(std::pow(10.0, peakDb / 20.0) * 32767.0 / peak);
  std::vector<int16_t> pcm(2 * n);
  for (size_t i = 0; i < n; i++) {
    pcm[2 * i] = (int16_t)std::lround(left[i] * gain);
    pcm[2 * i + 1] = (int16_t)std::lround(right[i] * gain);
  }
  return pcm;
}
