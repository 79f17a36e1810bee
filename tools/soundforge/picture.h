// A picture of the soundtrack for checking it by eye: waveform envelope on top,
// log-frequency spectrogram below, the time-map segment starts as ticks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

bool writeSoundPicture(const std::vector<int16_t>& pcm, int rate, const std::vector<double>& marks, const std::string& path);
