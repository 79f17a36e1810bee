// Pictures of the soundtrack for checking it by eye and by meter.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Waveform envelope on top, log-frequency spectrogram below, the time-map
// segment starts as ticks.
bool writeSoundPicture(const std::vector<int16_t>& pcm, int rate, const std::vector<double>& marks, const std::string& path);

// Short-term loudness curves (shortTermLoudness: a value every tenth of a
// second) drawn over each other, the first in grey, on a -40..-5 LUFS grid;
// marks (seconds) as upright lines.
bool writeLoudnessPicture(const std::vector<std::vector<double>>& curves, const std::vector<double>& marks,
                          const std::string& path);
