// show_clock.h - the per-frame show step and the soundtrack that follows the
// show's own clock.
//
// The show is not driven by the audio: its parts advance on measured frame
// times, and the music is moved to the show time whenever it has drifted more
// than SOUNDTRACK_MAX_DRIFT away, so pausing and jumping keep it in step.
#pragma once

struct AppState;

constexpr double SOUNDTRACK_MAX_DRIFT = 0.05;  // seconds

// Loads the soundtrack whole and plays it from its start.
void startSoundtrack(AppState& state);

// Advances the show clock, updates and draws the active part, keeps the
// soundtrack in step with every part's raw time.
void advanceShow(AppState& state);

// Moves the channel to `seconds` of show time when its position is more
// than SOUNDTRACK_MAX_DRIFT away. A negative time has no position: the music
// plays on where it is.
void followShowTime(unsigned channel, double seconds);
