#include "timeline.h"

const std::vector<Segment>& showSegments() {
  static const std::vector<Segment> segments = {
      {0.000, 11.984, 0, 9, false},        {11.984, 125.984, 9, 123, false},    {125.984, 147.896, 123, 145, false},
      {147.896, 151.896, 141, 145, true},   {151.896, 171.896, 149, 169, false}, {171.896, 179.802, 169, 177, false},
      {179.802, 203.817, 177, 209, false},  {203.817, 235.817, 209, 241, false}, {235.817, 267.817, 233, 265, true},
      {267.817, 278.569, 265, 273, false},  {278.569, 314.860, 273, 300, false},
  };
  return segments;
}

std::vector<Note> placeOnRawTime(const std::vector<Note>& score, const std::vector<Segment>& segments) {
  std::vector<Note> out;
  for (const Segment& s : segments) {
    double rate = (s.scene1 - s.scene0) / (s.raw1 - s.raw0);
    for (const Note& n : score) {
      if (n.at < s.scene0 || n.at >= s.scene1) continue;
      if (n.take == (s.replay ? Take::First : Take::Replay)) continue;
      Note r = n;
      r.at = s.raw0 + (n.at - s.scene0) / rate;
      r.len = n.len / rate;
      out.push_back(r);
    }
  }
  return out;
}
