#include "master.h"

#include <algorithm>
#include <cmath>

#include "limiter.h"
#include "loudness.h"

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

Mastered masterMix(const Bus& bus, double fadeFrom, double fadeTo, double targetLufs, double ceilingDbtp) {
  std::vector<float> left = bus.left, right = bus.right;
  reverb(bus.sendL, left, bus.rate, 0);
  reverb(bus.sendR, right, bus.rate, 23);
  const size_t n = left.size();
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / bus.rate;
    float g = t < fadeFrom ? 1.0f : t >= fadeTo ? 0.0f : (float)((fadeTo - t) / (fadeTo - fadeFrom));
    left[i] *= g;
    right[i] *= g;
  }

  // The limiter works on the linked true peak of the two channels. Turning
  // the mix up makes it cut deeper and so costs some of the gain: a few
  // rounds of measuring (each guess from the last two) settle the loudness.
  std::vector<float> peak = truePeakEnvelope(left), peakR = truePeakEnvelope(right);
  for (size_t i = 0; i < n; i++) peak[i] = std::max(peak[i], peakR[i]);
  peakR = std::vector<float>();
  const float ceiling = (float)std::pow(10.0, ceilingDbtp / 20.0);
  const int lookahead = (int)std::lround(0.005 * bus.rate);
  const double release = 0.12 * bus.rate;
  double lufs = integratedLoudness(left, right, bus.rate);
  double gainDb = std::isfinite(lufs) ? targetLufs - lufs : 0.0, lastGainDb = 0.0, lastLufs = lufs;
  std::vector<float> gain, outL(n), outR(n);
  for (int round = 0; round < 6; round++) {
    float g = (float)std::pow(10.0, gainDb / 20.0);
    gain = limiterGain(peak, ceiling / g, lookahead, release);
    for (size_t i = 0; i < n; i++) {
      outL[i] = left[i] * g * gain[i];
      outR[i] = right[i] * g * gain[i];
    }
    double measured = integratedLoudness(outL, outR, bus.rate);
    if (!std::isfinite(measured) || std::fabs(measured - targetLufs) < 0.05) {
      lufs = measured;
      break;
    }
    double slope = (measured - lastLufs) / (gainDb - lastGainDb);
    if (!(slope > 0.1 && slope <= 1.0)) slope = 1.0;
    lastGainDb = gainDb;
    lastLufs = lufs = measured;
    gainDb += (targetLufs - measured) / slope;
  }
  Mastered out{std::vector<int16_t>(2 * n), lufs, shortTermLoudness(outL, outR, bus.rate), gain.empty() ? 0.0 : toDb(*std::min_element(gain.begin(), gain.end()))};
  for (size_t i = 0; i < n; i++) {
    out.pcm[2 * i] = (int16_t)std::lround(outL[i] * 32767.0f);
    out.pcm[2 * i + 1] = (int16_t)std::lround(outR[i] * 32767.0f);
  }
  return out;
}
