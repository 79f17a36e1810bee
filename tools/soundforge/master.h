// Final mix: the reverb send, a fade to silence, then the level of a finished
// record: gain to a loudness target with a true-peak limiter holding a ceiling
// below full scale. Interleaved 16-bit stereo.
#pragma once
#include <cstdint>
#include <vector>

#include "synth.h"

struct Mastered {
  std::vector<int16_t> pcm;
  double lufs;        // integrated loudness of the result
  std::vector<double> shortTerm;  // and its short-term loudness (shortTermLoudness)
  double reductionDb; // the limiter's deepest cut
};

// fadeFrom..fadeTo in seconds: a linear fade to silence, zero after it.
Mastered masterMix(const Bus& bus, double fadeFrom, double fadeTo, double targetLufs, double ceilingDbtp);
