// The show plays scene time through a map of raw time: stretches run faster or
// slower, some replay and one is skipped. The score is written in scene time
// and placed onto raw time here, so the music replays and skips with the picture.
#pragma once
#include <vector>

#include "synth.h"

struct Segment {
  double raw0, raw1;      // raw seconds
  double scene0, scene1;  // scene seconds shown across them
  bool replay;            // shows scene time that an earlier segment showed
};

// The show's eleven segments, in raw order.
const std::vector<Segment>& showSegments();

// Every note starting inside a segment's scene range, once per segment that
// its take allows, with start and length converted to raw seconds.
std::vector<Note> placeOnRawTime(const std::vector<Note>& score, const std::vector<Segment>& segments);
