// show_clock.h - the soundtrack that follows the show's own clock.
//
// The show is not driven by the audio: its parts advance on measured frame
// times, and the music is moved to the show time whenever it has drifted more
// than SOUNDTRACK_MAX_DRIFT away, so pausing and jumping keep it in step.
#pragma once
#include <cstdint>
#include <future>
#include <string>
#include <vector>

constexpr double SOUNDTRACK_MAX_DRIFT = 0.05;  // seconds

// The soundtrack being decoded on a thread of its own while the show loads:
// opens the audio output first, and decodes only when there is one.
struct SoundtrackDecode {
    std::future<bool> done;
    std::vector<int16_t> pcm;
    std::string said;  // the output's or the decoder's line, printed when the sound is taken
};
void beginSoundtrackDecode(SoundtrackDecode& decode);

// Plays the decoded soundtrack from its start; the handles are 0 when it
// cannot be played, and every later call then does nothing.
void startSoundtrack(SoundtrackDecode& decode, uint32_t& sample, uint32_t& channel);

// Moves the channel to `seconds` of show time when its position is more
// than SOUNDTRACK_MAX_DRIFT away. A negative time has no position: the music
// plays on where it is.
void followShowTime(unsigned channel, double seconds);
