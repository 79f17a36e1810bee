// mp3 encoding through the lame command, fed raw PCM on a pipe.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Interleaved 16-bit stereo at 44.1 kHz. Returns false (with a message on
// standard error) when lame cannot be run or fails.
bool writeMp3(const std::vector<int16_t>& pcm, const std::string& path);
