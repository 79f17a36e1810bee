// soundtrack.h - the show's music: an mp3 decoded whole into memory and played
// through the default audio output, addressed in bytes of decoded audio
// (SOUNDTRACK_BYTES_PER_SECOND, 16-bit stereo at 44100 Hz).
//
//   soundtrackInit();                                  // open the output, paused
//   soundtrackStart();                                 // let it run
//   uint32_t sample = soundtrackLoadSample("Resources//music//Velmora.mp3");
//   uint32_t channel = soundtrackGetChannel(sample);
//   soundtrackPlay(channel);                           // from byte 0
//   soundtrackSetPosition(channel, bytes);             // heard next, no gap
//   uint64_t at;
//   if (soundtrackGetPosition(channel, &at)) ...       // false: nothing playing
//
// Handles are 32-bit and 0 means none; every call takes 0 or a stale handle
// and refuses it (false / 0). Without an output (soundtrackInit printed why)
// nothing loads, so the handles stay 0 and the show runs silent on its clock.
// A channel that reaches the end of its sample stays there, silent, until it is
// set back. All calls belong to the main thread.
#pragma once
#include "timing/soundtrack_decode.h"

#include <cstdint>
#include <string>
#include <vector>

// Opens the default output at 44100 Hz stereo; true when already open. False,
// with one line on standard output (or kept in `said`), when there is no
// usable audio device.
bool soundtrackInit(std::string* said = nullptr);
bool soundtrackStart();
// Closes the output and forgets every sample; their handles become stale.
void soundtrackFree();

// Decodes the whole file; 0 (with one line on standard output) when it cannot
// be read, and 0 without a word when there is no output to play it on.
uint32_t soundtrackLoadSample(const char* path);
// The same for sound decoded already (decodeSoundtrack); 0 for none, or
// without an output.
uint32_t soundtrackLoadDecoded(std::vector<int16_t> pcm);
// The sample's one playback channel: the same handle on every call.
uint32_t soundtrackGetChannel(uint32_t sample);
// Plays from the start.
bool soundtrackPlay(uint32_t channel);
// Moves playback to a byte position (rounded down to a whole sample frame);
// refused, leaving playback where it is, for a position before the start or
// past the end.
bool soundtrackSetPosition(uint32_t channel, int64_t bytes);
// The next byte the output takes from the channel: ahead of what is heard by
// the output's buffer, 1024 frames (23 ms) in most drivers. False, with 0,
// for a channel that does not exist.
bool soundtrackGetPosition(uint32_t channel, uint64_t* bytes);
