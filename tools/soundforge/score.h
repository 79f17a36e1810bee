// The soundtrack's score, in scene seconds: 2 beats per scene second (120 BPM
// where the show runs at its natural pace), bars starting on odd seconds so
// that every act change of the show falls on a downbeat.
#pragma once
#include <vector>

#include "synth.h"

std::vector<Note> composeScore();
