// Instruments of the soundtrack: each note is rendered straight into a
// stereo bus, so the score is just a list of notes and nothing holds state.
#pragma once
#include <cstdint>
#include <vector>

enum class Voice { Kick, Snare, Hat, OpenHat, Tom, Crash, Bass, Pad, Bell, Organ, Strings, Air };

// Which passes of a stretch the show replays sound a note: the music can go
// somewhere else the second time through.
enum class Take { Both, First, Replay };

// at and len in seconds; pitch as a MIDI note number; pan -1 (left) .. 1 (right).
struct Note {
  double at, len;
  Voice voice;
  float pitch, vel, pan;
  Take take = Take::Both;
};

// Dry bus plus a reverb send, all at `rate` samples per second.
struct Bus {
  int rate;
  std::vector<float> left, right, sendL, sendR;
};

Bus makeBus(int rate, double seconds);
// seed varies the noise of drums and plucks from note to note, reproducibly.
void renderNote(Bus& bus, const Note& note, uint32_t seed);
