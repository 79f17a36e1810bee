// show_clock.h - the soundtrack that follows the show's own clock.
//
// The show is not driven by the audio: its parts advance on measured frame
// times, and the music is moved to the show time whenever it has drifted more
// than SOUNDTRACK_MAX_DRIFT away, so pausing and jumping keep it in step.
#pragma once
#include <cstdint>

constexpr double SOUNDTRACK_MAX_DRIFT = 0.05;  // seconds

// Loads the soundtrack whole and plays it from its start; the handles are 0
// when it cannot be played, and every later call then does nothing.
void startSoundtrack(uint32_t& sample, uint32_t& channel);

// Moves the channel to `seconds` of show time when its position is more
// than SOUNDTRACK_MAX_DRIFT away. A negative time has no position: the music
// plays on where it is.
void followShowTime(unsigned channel, double seconds);
