// wav_file.h - 16-bit stereo PCM at 44100 Hz in a WAV file, written whole
// under a temporary name and renamed, and cut shorter later (a stopped
// capture keeps the sound of its frames).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes `frames` stereo sample frames of `pcm` (interleaved left, right)
// starting at frame `first`; frames past the end of pcm are silence.
// 0, or the errno of the failed write (no file is then left at `path`).
int writeWav(const std::string& path, const std::vector<int16_t>& pcm, int64_t first, int64_t frames);

// Shortens a file writeWav made to its first `frames` sample frames, header
// included, so it stays a valid WAV.
bool cutWav(const std::string& path, int64_t frames);
