#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

const double kTau = 6.283185307179586;

struct Rng {
  uint32_t s;
  float next() {  // white noise in -1..1
    s = s * 1664525u + 1013904223u;
    return (float)((s >> 8) * (1.0 / 8388608.0) - 1.0);
  }
};

double hz(float pitch) { return 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0); }

// Naive saw with a polyBLEP step correction: cheap and quiet enough in the pads' range.
float blepSaw(double phase, double inc) {
  double v = 2.0 * phase - 1.0;
  if (phase < inc) {
    double t = phase / inc;
    v -= t + t - t * t - 1.0;
  } else if (phase > 1.0 - inc) {
    double t = (phase - 1.0) / inc;
    v -= t * t + t + t + 1.0;
  }
  return (float)v;
}

// Writes `len` samples produced by gen(i, t) from sample `start`, panned, plus a send share.
template <class Gen>
void emit(Bus& bus, long start, long len, float pan, float send, Gen gen) {
  long n = (long)bus.left.size();
  float gl = (float)std::cos((pan + 1.0) * kTau / 8.0), gr = (float)std::sin((pan + 1.0) * kTau / 8.0);
  double dt = 1.0 / bus.rate;
  for (long i = 0; i < len; i++) {
    long k = start + i;
    float v = gen(i, i * dt);
    if (k < 0) continue;
    if (k >= n) break;
    bus.left[k] += v * gl;
    bus.right[k] += v * gr;
    bus.sendL[k] += v * gl * send;
    bus.sendR[k] += v * gr * send;
  }
}

// Attack-sustain-release gate for held voices.
float gate(double t, double len, double attack, double release) {
  double a = std::min(1.0, t / attack);
  double r = t < len ? 1.0 : std::max(0.0, 1.0 - (t - len) / release);
  return (float)(a * r);
}

}  // namespace

Bus makeBus(int rate, double seconds) {
  size_t n = (size_t)(rate * seconds);
  return Bus{rate, std::vector<float>(n), std::vector<float>(n), std::vector<float>(n), std::vector<float>(n)};
}

void renderNote(Bus& bus, const Note& nt, uint32_t seed) {
  const double sr = bus.rate;
  long start = std::lround(nt.at * sr);
  Rng rng{seed * 2654435761u + 12345u};
  float v = nt.vel;
  switch (nt.voice) {
    case Voice::Kick: {
      double ph = 0;
      // Driven into a soft clip: the thump keeps its weight with less of a spike.
      const double drive = 2.2, norm = 1.0 / std::tanh(drive);
      emit(bus, start, (long)(0.45 * sr), nt.pan, 0.05f, [&](long, double t) {
        ph += (42.0 + 90.0 * std::exp(-t * 28.0)) / sr;
        double body = std::sin(kTau * ph) * std::exp(-t * 9.0) + 0.3 * std::exp(-t * 400.0);
        return v * 0.6f * (float)(std::tanh(drive * body) * norm);
      });
      break;
    }
    case Voice::Tom: {
      double ph = 0, f = hz(nt.pitch);
      emit(bus, start, (long)(0.5 * sr), nt.pan, 0.2f, [&](long, double t) {
        ph += f * (1.0 + 0.6 * std::exp(-t * 20.0)) / sr;
        return v * (float)(std::sin(kTau * ph) * std::exp(-t * 8.0));
      });
      break;
    }
    case Voice::Snare: {
      // Band-passed noise (state-variable filter) over a short tone body.
      float low = 0, band = 0, ph = 0;
      const float f = 2.0f * (float)std::sin(kTau / 2.0 * 1900.0 / sr), q = 0.7f;
      emit(bus, start, (long)(0.3 * sr), nt.pan, 0.25f, [&](long, double t) {
        float x = rng.next();
        low += f * band;
        float high = x - low - q * band;
        band += f * high;
        ph += (float)(185.0 / sr);
        return v * (float)(1.2 * band * std::exp(-t * 16.0) + 0.6 * std::sin(kTau * ph) * std::exp(-t * 35.0));
      });
      break;
    }
    case Voice::Hat:
    case Voice::OpenHat: {
      float lp = 0;
      double decay = nt.voice == Voice::Hat ? 70.0 : 11.0;
      emit(bus, start, (long)((nt.voice == Voice::Hat ? 0.08 : 0.5) * sr), nt.pan, 0.15f, [&](long, double t) {
        float x = rng.next();
        lp += 0.35f * (x - lp);
        return v * 0.6f * (x - lp) * (float)std::exp(-t * decay);
      });
      break;
    }
    case Voice::Crash: {
      float lp = 0;
      emit(bus, start, (long)(2.5 * sr), nt.pan, 0.5f, [&](long, double t) {
        float x = rng.next();
        lp += 0.2f * (x - lp);
        return v * 0.5f * (x - lp) * (float)(std::exp(-t * 2.0) * std::min(1.0, t * 200.0));
      });
      break;
    }
    case Voice::Bass: {
      // A saw over a sine through four one-pole low passes whose corner falls
      // from 870 to 170 Hz after the attack: a round pluck that stays under
      // the melody. Soft edges keep the start and the stop from clicking.
      double f = hz(nt.pitch), inc = f / sr, ph = 0;
      float a = 0, b = 0, c = 0, d = 0;
      double corner = 700.0, body = 1.0;
      const double kCorner = std::exp(-12.0 / sr), kBody = std::exp(-5.0 / sr);
      emit(bus, start, (long)((nt.len + 0.08) * sr), nt.pan, 0.05f, [&](long, double t) {
        ph += inc;
        if (ph >= 1.0) ph -= 1.0;
        const float k = (float)(1.0 - std::exp(-kTau * (170.0 + corner) / sr));
        corner *= kCorner;
        body = 0.7 + (body - 0.7) * kBody;
        float x = 0.6f * blepSaw(ph, inc) + 0.9f * (float)std::sin(kTau * ph);
        a += k * (x - a);
        b += k * (a - b);
        c += k * (b - c);
        d += k * (c - d);
        return v * (float)body * d * gate(t, nt.len, 0.005, 0.08);
      });
      break;
    }
    case Voice::Pad: {
      // Three detuned saws through two one-pole low passes; the spread makes it wide.
      for (int d = -1; d <= 1; d++) {
        double f = hz(nt.pitch) * (1.0 + 0.0045 * d), inc = f / sr, ph = 0.37 * (d + 1);
        float a = 0, b = 0;
        const float k = (float)(1.0 - std::exp(-kTau * 900.0 / sr));
        emit(bus, start, (long)((nt.len + 1.2) * sr), nt.pan + 0.5f * d, 0.6f, [&](long, double t) {
          ph += inc;
          if (ph >= 1.0) ph -= 1.0;
          a += k * (blepSaw(ph, inc) - a);
          b += k * (a - b);
          return v * 0.33f * b * gate(t, nt.len, 0.7, 1.2);
        });
      }
      break;
    }
    case Voice::Strings: {
      // A section: four saws a few cents apart, each with its own late vibrato,
      // brighter and quicker to speak than the pad.
      const double detune[4] = {-0.006, -0.002, 0.0025, 0.0065}, rateHz[4] = {4.9, 5.3, 5.0, 5.6};
      const float k = (float)(1.0 - std::exp(-kTau * 2300.0 / sr));
      for (int d = 0; d < 4; d++) {
        double f = hz(nt.pitch) * (1.0 + detune[d]), ph = 0.23 * d;
        double vc = 1, vs = 0;  // the vibrato, turned by a fixed rotation each sample
        const double rc = std::cos(kTau * rateHz[d] / sr), rs = std::sin(kTau * rateHz[d] / sr);
        float a = 0, b = 0;
        emit(bus, start, (long)((nt.len + 0.8) * sr), nt.pan + 0.25f * (d - 1.5f), 0.5f, [&](long, double t) {
          double c = vc * rc - vs * rs;
          vs = vs * rc + vc * rs;
          vc = c;
          double inc = f * (1.0 + 0.003 * vs * std::min(1.0, t * 1.5)) / sr;
          ph += inc;
          if (ph >= 1.0) ph -= 1.0;
          a += k * (blepSaw(ph, inc) - a);
          b += k * (a - b);
          return v * 0.2f * b * gate(t, nt.len, 0.25, 0.8);
        });
      }
      break;
    }
    case Voice::Air: {
      // Breath over a soft flute tone: a sine with a touch of its octave, and
      // noise rung through a narrow band at the octave, slowly swelling.
      double f = hz(nt.pitch), ph = 0;
      float low = 0, band = 0;
      const float fb = 2.0f * (float)std::sin(kTau / 2.0 * std::min(2.0 * f, 6000.0) / sr), q = 0.15f;
      emit(bus, start, (long)((nt.len + 1.6) * sr), nt.pan, 0.7f, [&](long, double t) {
        ph += f / sr;
        if (ph >= 1.0) ph -= 1.0;
        double s1 = std::sin(kTau * ph), c1 = std::cos(kTau * ph);
        low += fb * band;
        float high = rng.next() - low - q * band;
        band += fb * high;
        double breath = 1.0 + 0.15 * std::sin(kTau * 0.35 * t);
        return v * (float)((0.5 * (s1 + 0.36 * s1 * c1) + 0.02 * band) * breath) * gate(t, nt.len, 0.9, 1.6);
      });
      break;
    }
    case Voice::Bell: {
      // Music box: a 2:1 FM tine whose brightness dies fast, leaving a sine.
      // Decays run as per-sample factors: the arpeggios make this the busiest voice.
      double f = hz(nt.pitch), ph = 0;
      double env = 1, bright = 1.6, ping = 0.15;
      const double kEnv = std::exp(-2.8 / sr), kBright = std::exp(-9.0 / sr), kPing = std::exp(-14.0 / sr);
      emit(bus, start, (long)(std::max(nt.len, 0.2) * 2.0 * sr + 0.6 * sr), nt.pan, 0.45f, [&](long, double t) {
        ph += f / sr;
        if (ph >= 1.0) ph -= 1.0;
        double s1 = std::sin(kTau * ph), c1 = std::cos(kTau * ph);
        double s2 = 2 * s1 * c1, c2 = c1 * c1 - s1 * s1, s4 = 2 * s2 * c2;
        double out = (s1 * std::cos(bright * s2) + c1 * std::sin(bright * s2)) * env + ping * s4;
        env *= kEnv;
        bright *= kBright;
        ping *= kPing;
        return v * (float)(out * std::min(1.0, t * 600.0));
      });
      break;
    }
    case Voice::Organ: {
      // Drawbars 1, 2, 3, 4 and 6 with a gentle vibrato; reedy rather than churchy.
      // Harmonics come from the fundamental by angle addition, not more sines.
      double f = hz(nt.pitch), ph = 0;
      emit(bus, start, (long)((nt.len + 0.12) * sr), nt.pan, 0.35f, [&](long, double t) {
        ph += f * (1.0 + 0.003 * std::sin(kTau * 5.5 * t)) / sr;
        if (ph >= 1.0) ph -= 1.0;
        double s1 = std::sin(kTau * ph), c1 = std::cos(kTau * ph);
        double s2 = 2 * s1 * c1, c2 = c1 * c1 - s1 * s1;
        double s3 = s2 * c1 + c2 * s1, c3 = c2 * c1 - s2 * s1;
        double s4 = 2 * s2 * c2, s6 = 2 * s3 * c3;
        double s = s1 + 0.55 * s2 + 0.35 * s3 + 0.2 * s4 + 0.1 * s6;
        return v * 0.4f * (float)s * gate(t, nt.len, 0.015, 0.12);
      });
      break;
    }
  }
}
