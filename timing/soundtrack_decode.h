// soundtrack_decode.h - a whole mp3 file decoded into memory, in the one format
// the soundtrack plays: interleaved signed 16-bit stereo at 44100 Hz.
//
//   std::vector<int16_t> pcm;                 // left, right, left, right ...
//   if (decodeSoundtrack(path, &pcm)) ...     // pcm.size() * 2 bytes of audio
//
// Mono is doubled to stereo and other rates are resampled by the decoder; the
// encoder's delay and padding are trimmed, so the length is the original's.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int SOUNDTRACK_RATE = 44100;
constexpr int SOUNDTRACK_CHANNELS = 2;
constexpr uint32_t SOUNDTRACK_BYTES_PER_FRAME = 4;
constexpr uint32_t SOUNDTRACK_BYTES_PER_SECOND = 176400;

// False, with one line on standard output, when the file cannot be opened or
// holds no decodable audio; pcm is then empty. A file damaged part-way keeps
// what was decoded before the damage (and says so). With `said`, the line is
// kept there instead of printed (a decode on another thread says it later).
bool decodeSoundtrack(const char* path, std::vector<int16_t>* pcm, std::string* said = nullptr);
