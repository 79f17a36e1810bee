#include "loudness.h"

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.141592653589793;

// The K-weighting's analogue prototypes, which give the standard's published
// 48 kHz coefficients through the bilinear transform and any other rate alike.
const double kShelfHz = 1681.974450955533, kShelfDb = 3.999843853973347, kShelfQ = 0.7071752369554196;
const double kLowCutHz = 38.13547087602444, kLowCutQ = 0.5003270373238773;

void filter(const Biquad& f, std::vector<double>& x) {
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (double& v : x) {
    double y = f.b0 * v + f.b1 * x1 + f.b2 * x2 - f.a1 * y1 - f.a2 * y2;
    x2 = x1;
    x1 = v;
    y2 = y1;
    y1 = y;
    v = y;
  }
}

// Sum of squares of the K-weighted channel over each 100 ms step.
std::vector<double> stepEnergy(const std::vector<float>& channel, int rate, size_t step) {
  std::vector<double> x(channel.begin(), channel.end());
  filter(kShelf(rate), x);
  filter(kHighPass(rate), x);
  std::vector<double> out(x.size() / step, 0.0);
  for (size_t s = 0; s < out.size(); s++)
    for (size_t i = s * step; i < (s + 1) * step; i++) out[s] += x[i] * x[i];
  return out;
}

double lufs(double meanSquare) { return -0.691 + 10.0 * std::log10(meanSquare); }

// Windowed-sinc taps for the points a quarter, a half and three quarters of
// the way from one sample to the next: 16 samples around each.
const int kTaps = 16;
struct Interpolator {
  float h[3][kTaps];
  Interpolator() {
    for (int p = 0; p < 3; p++) {
      double f = (p + 1) / 4.0, sum = 0;
      for (int k = 0; k < kTaps; k++) {
        double u = (k - kTaps / 2 + 1) - f;  // distance from the point, in samples
        double sinc = u == 0 ? 1.0 : std::sin(kPi * u) / (kPi * u);
        double w = 0.42 + 0.5 * std::cos(kPi * u / (kTaps / 2)) + 0.08 * std::cos(2 * kPi * u / (kTaps / 2));
        h[p][k] = (float)(sinc * w);
        sum += sinc * w;
      }
      for (int k = 0; k < kTaps; k++) h[p][k] = (float)(h[p][k] / sum);
    }
  }
};

}  // namespace

Biquad kShelf(double rate) {
  double k = std::tan(kPi * kShelfHz / rate), vh = std::pow(10.0, kShelfDb / 20.0), vb = std::pow(vh, 0.4996667741545416);
  double a0 = 1.0 + k / kShelfQ + k * k;
  return {(vh + vb * k / kShelfQ + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / kShelfQ + k * k) / a0,
          2.0 * (k * k - 1.0) / a0, (1.0 - k / kShelfQ + k * k) / a0};
}

Biquad kHighPass(double rate) {
  double k = std::tan(kPi * kLowCutHz / rate);
  double a0 = 1.0 + k / kLowCutQ + k * k;
  return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / kLowCutQ + k * k) / a0};
}

double integratedLoudness(const std::vector<float>& left, const std::vector<float>& right, int rate) {
  const size_t step = (size_t)rate / 10, stepsPerBlock = 4;
  std::vector<double> l = stepEnergy(left, rate, step), r = stepEnergy(right, rate, step);
  std::vector<double> blocks;  // mean square of each 400 ms block, channels summed
  for (size_t b = 0; b + stepsPerBlock <= l.size(); b++) {
    double sum = 0;
    for (size_t s = b; s < b + stepsPerBlock; s++) sum += l[s] + r[s];
    blocks.push_back(sum / (double)(step * stepsPerBlock));
  }
  auto gatedMean = [&](double threshold) {
    double sum = 0;
    size_t n = 0;
    for (double z : blocks)
      if (z > 0 && lufs(z) > threshold) {
        sum += z;
        n++;
      }
    return n ? sum / (double)n : 0.0;
  };
  double absolute = gatedMean(-70.0);
  if (absolute <= 0) return -HUGE_VAL;
  double gated = gatedMean(lufs(absolute) - 10.0);
  return gated > 0 ? lufs(gated) : -HUGE_VAL;
}

std::vector<double> shortTermLoudness(const std::vector<float>& left, const std::vector<float>& right, int rate) {
  const size_t step = (size_t)rate / 10, stepsPerWindow = 30;
  std::vector<double> l = stepEnergy(left, rate, step), r = stepEnergy(right, rate, step), out;
  for (size_t w = 0; w + stepsPerWindow <= l.size(); w++) {
    double sum = 0;
    for (size_t s = w; s < w + stepsPerWindow; s++) sum += l[s] + r[s];
    out.push_back(sum > 0 ? lufs(sum / (double)(step * stepsPerWindow)) : -HUGE_VAL);
  }
  return out;
}

double loudnessRange(const std::vector<double>& shortTerm) {
  std::vector<double> kept;
  double energy = 0;
  for (double v : shortTerm)
    if (v > -70.0) {
      kept.push_back(v);
      energy += std::pow(10.0, v / 10.0);
    }
  if (kept.empty()) return 0.0;
  const double gate = 10.0 * std::log10(energy / (double)kept.size()) - 20.0;
  kept.erase(std::remove_if(kept.begin(), kept.end(), [&](double v) { return v < gate; }), kept.end());
  std::sort(kept.begin(), kept.end());
  auto percentile = [&](double p) { return kept[(size_t)std::lround(p * (double)(kept.size() - 1))]; };
  return percentile(0.95) - percentile(0.10);
}

std::vector<float> truePeakEnvelope(const std::vector<float>& x) {
  static const Interpolator in;
  const long n = (long)x.size(), half = kTaps / 2;
  std::vector<float> env(x.size());
  for (long i = 0; i < n; i++) {
    float peak = std::fabs(x[i]);
    long first = i - half;  // taps run over x[first .. first + kTaps - 1]
    for (int p = 0; p < 3; p++) {
      float y = 0;
      if (first >= 0 && first + kTaps <= n) {
        for (int k = 0; k < kTaps; k++) y += in.h[p][k] * x[first + k];
      } else {
        for (int k = 0; k < kTaps; k++)
          if (first + k >= 0 && first + k < n) y += in.h[p][k] * x[first + k];
      }
      peak = std::max(peak, std::fabs(y));
    }
    env[i] = peak;
  }
  return env;
}

float truePeak(const std::vector<float>& left, const std::vector<float>& right) {
  float peak = 0;
  for (const std::vector<float>* c : {&left, &right}) {
    std::vector<float> env = truePeakEnvelope(*c);
    peak = std::max(peak, *std::max_element(env.begin(), env.end()));
  }
  return peak;
}

double toDb(double linear) { return 20.0 * std::log10(linear); }
