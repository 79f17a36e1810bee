// Final mix: the reverb send, a fade to silence and normalisation to a fixed
// peak below full scale, as interleaved 16-bit stereo.
#pragma once
#include <cstdint>
#include <vector>

#include "synth.h"

// fadeFrom..fadeTo in seconds: a linear fade to silence, zero after it.
std::vector<int16_t> masterMix(const Bus& bus, double fadeFrom, double fadeTo, double peakDb);
