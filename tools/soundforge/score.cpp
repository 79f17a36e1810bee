#include "score.h"

#include <cmath>

namespace {

const double kBar = 2.0, kBeat = 0.5, kEighth = 0.25, kSixteenth = 0.125;

struct Chord {
  int root;  // MIDI pitch of the root around the third octave
  int third, fifth;
};
const Chord Dm{50, 3, 7}, A{45, 4, 7}, Bb{46, 4, 7}, Gm{43, 3, 7}, F{41, 4, 7}, C{48, 4, 7}, Eb{51, 4, 7};

using Prog = std::vector<Chord>;
const Prog kThemeProg = {Dm, A, Bb, A, Dm, Gm, A, Dm};
const Prog kCaveProg = {Dm, Eb, Dm, A};
const Prog kBrightProg = {F, C, Dm, Bb, F, C, Bb, C};
const Prog kAscentProg = {Bb, F, Gm, Dm, Eb, Bb, Gm, A};
const Prog kBlackProg = {Dm, Bb, Gm, A};

struct Step {
  int pitch, eighths;
};
// Eight bars each, eight eighths a bar.
const std::vector<Step> kThemeDark = {
    {69, 2}, {74, 2}, {76, 1}, {77, 1}, {76, 1}, {74, 1}, {73, 2}, {69, 4}, {64, 2}, {70, 2}, {74, 2},
    {77, 1}, {76, 1}, {74, 1}, {72, 1}, {69, 6}, {67, 1}, {69, 1}, {69, 2}, {74, 2}, {76, 1}, {77, 1},
    {79, 1}, {77, 1}, {79, 2}, {77, 2}, {74, 2}, {70, 2}, {76, 2}, {73, 2}, {69, 2}, {67, 2}, {74, 8}};
const std::vector<Step> kThemeBright = {
    {72, 1}, {77, 1}, {81, 2}, {79, 1}, {77, 1}, {76, 2}, {76, 2}, {72, 2}, {67, 4}, {74, 1}, {77, 1},
    {81, 2}, {79, 1}, {77, 1}, {74, 2}, {77, 4}, {74, 2}, {70, 2}, {72, 1}, {77, 1}, {81, 2}, {84, 2},
    {81, 2}, {79, 2}, {76, 2}, {72, 4}, {74, 2}, {77, 2}, {82, 2}, {81, 2}, {79, 4}, {76, 2}, {72, 2}};

struct Score {
  std::vector<Note> notes;
};

void add(Score& s, double at, double len, Voice v, float pitch, float vel, float pan = 0) {
  s.notes.push_back(Note{at, len, v, pitch, vel, pan});
}

const Chord& chordAt(const Prog& p, double t0, double t) { return p[(size_t)((t - t0) / kBar + 1e-9) % p.size()]; }

// Pitch class of `semis` above the chord root, placed in [lo, lo + 12).
int inRange(const Chord& c, int semis, int lo) {
  int pc = (c.root + semis) % 12;
  return lo + ((pc - lo % 12) + 12) % 12;
}

// Plays bars [first, first + count) of an eight-bar theme from scene time t.
void theme(Score& s, const std::vector<Step>& steps, double t, int first, int count, Voice v, int shift, float vel, float pan) {
  double at = 0;
  for (const Step& st : steps) {
    double len = st.eighths * kEighth;
    if (at >= first * kBar && at < (first + count) * kBar)
      add(s, t + at - first * kBar, len * 0.92, v, (float)(st.pitch + shift), vel, pan);
    at += len;
  }
}

// What holds the chords in a section: the voice, the pitch it sits around and
// how many notes it holds.
struct Bed {
  Voice voice;
  int centre, voices;
  float vel;
};

// The chord's tones within an octave and a half around `centre`, `voices` of
// them with every tone present: of all such voicings the one that moves least
// from `prev` (the first of a section: the one nearest the centre). The bed
// then glides with the harmony and lies where its section puts it.
std::vector<int> voicing(const Chord& c, const std::vector<int>& prev, int centre, int voices) {
  const int tones[3] = {c.root % 12, (c.root + c.third) % 12, (c.root + c.fifth) % 12};
  std::vector<int> pool;
  for (int p = centre - 9; p <= centre + 9; p++)
    for (int tone : tones)
      if (p % 12 == tone) pool.push_back(p);
  std::vector<int> best;
  double bestCost = 1e9;
  for (unsigned mask = 0; mask < (1u << pool.size()); mask++) {
    std::vector<int> pick;
    bool has[3] = {false, false, false};
    for (size_t i = 0; i < pool.size(); i++)
      if (mask >> i & 1) {
        pick.push_back(pool[i]);
        for (int k = 0; k < 3; k++) has[k] |= pool[i] % 12 == tones[k];
      }
    if ((int)pick.size() != voices || !has[0] || !has[1] || !has[2]) continue;
    double mean = 0, cost = 0;
    for (size_t i = 0; i < pick.size(); i++) {
      mean += pick[i] / (double)voices;
      if (!prev.empty()) cost += std::abs(pick[i] - prev[i]);
    }
    cost += 0.3 * std::fabs(mean - centre);
    if (cost < bestCost) {
      bestCost = cost;
      best = pick;
    }
  }
  return best;
}

// One chord a bar; each four-bar phrase swells a little toward its end.
void bed(Score& s, const Prog& p, double t0, double t1, const Bed& b) {
  std::vector<int> held;
  int bar = 0;
  for (double t = t0; t < t1 - 1e-9; t += kBar, bar++) {
    held = voicing(chordAt(p, t0, t), held, b.centre, b.voices);
    float vel = b.vel * (0.85f + 0.1f * (float)(bar % 4));
    for (size_t i = 0; i < held.size(); i++) {
      float pan = held.size() > 1 ? -0.4f + 0.8f * (float)i / (float)(held.size() - 1) : 0.0f;  // low left, high right
      add(s, t, kBar * 0.95, b.voice, (float)held[i], vel, pan);
    }
  }
}

enum class Bassline { Roots, OomPah, Stalk, Drone };

void bass(Score& s, const Prog& p, double t0, double t1, Bassline style, float vel) {
  for (double t = t0; t < t1 - 1e-9; t += kEighth) {
    const Chord& c = chordAt(p, t0, t);
    int step = (int)std::lround((t - t0) / kEighth) % 8;
    int root = inRange(c, 0, 36);
    switch (style) {
      case Bassline::Roots:
        add(s, t, kEighth * 0.8, Voice::Bass, (float)(step == 7 ? root + 12 : root), step % 2 ? vel * 0.7f : vel);
        break;
      case Bassline::OomPah:
        if (step % 2 == 0) add(s, t, kEighth * 0.9, Voice::Bass, (float)(step % 4 == 0 ? root : inRange(c, c.fifth, 36)), vel);
        break;
      case Bassline::Stalk:  // creeping syncopation for the cave
        if (step == 0 || step == 3 || step == 6) add(s, t, kEighth * 1.4, Voice::Bass, (float)(step == 6 ? root + 1 : root), vel);
        break;
      case Bassline::Drone:
        if (step == 0) add(s, t, kBar * 0.98, Voice::Bass, (float)root, vel);
        break;
    }
  }
}

enum class Beat { Heartbeat, Groove, March, HalfTime, Busy };

void drums(Score& s, double t0, double t1, Beat style, float vel) {
  for (double t = t0; t < t1 - 1e-9; t += kSixteenth) {
    int step = (int)std::lround((t - t0) / kSixteenth) % 16;  // sixteenths of the bar
    bool beat = step % 4 == 0, onKick = step % 8 == 0, back = step == 4 || step == 12;
    switch (style) {
      case Beat::Heartbeat:
        if (onKick) add(s, t, 0, Voice::Kick, 0, vel * 0.6f);
        if (step == 10) add(s, t, 0, Voice::Kick, 0, vel * 0.3f);
        break;
      case Beat::Groove:
      case Beat::Busy:
        if (onKick || step == 14) add(s, t, 0, Voice::Kick, 0, vel);
        if (back) add(s, t, 0, Voice::Snare, 0, vel * 0.5f, 0.1f);
        if (step % 2 == 0) add(s, t, 0, Voice::Hat, 0, vel * (step % 4 ? 0.16f : 0.24f), 0.35f);
        if (style == Beat::Busy && step % 2) add(s, t, 0, Voice::Hat, 0, vel * 0.1f, -0.35f);
        if (style == Beat::Busy && step == 6) add(s, t, 0, Voice::OpenHat, 0, vel * 0.14f, 0.35f);
        break;
      case Beat::March:
        if (beat) add(s, t, 0, Voice::Kick, 0, vel * (step == 0 ? 1.0f : 0.7f));
        if (back || step >= 13) add(s, t, 0, Voice::Snare, 0, vel * (back ? 0.5f : 0.22f), 0.1f);
        if (step % 4 == 2) add(s, t, 0, Voice::Hat, 0, vel * 0.2f, 0.35f);
        break;
      case Beat::HalfTime:
        if (step == 0 || step == 10) add(s, t, 0, Voice::Kick, 0, vel);
        if (step == 8) add(s, t, 0, Voice::Snare, 0, vel * 0.55f, 0.1f);
        if (step % 2 == 0) add(s, t, 0, Voice::Hat, 0, vel * 0.14f, 0.35f);
        break;
    }
  }
}

// Broken chords: pattern indexes root, third, fifth and the octave.
void arp(Score& s, const Prog& p, double t0, double t1, double step, Voice v, int lo, float vel, float pan) {
  const int pattern[8] = {0, 1, 2, 3, 2, 1, 2, 3};
  int i = 0;
  for (double t = t0; t < t1 - 1e-9; t += step, i++) {
    const Chord& c = chordAt(p, t0, t);
    const int semis[4] = {0, c.third, c.fifth, 12};
    int k = pattern[i % 8];
    add(s, t, step, v, (float)(inRange(c, semis[k] % 12, lo) + (k == 3 ? 12 : 0)), vel, pan);
  }
}

// Offbeat chord stabs, the oom-pah's "pah".
void stabs(Score& s, const Prog& p, double t0, double t1, Voice v, float vel) {
  for (double t = t0 + kBeat * 0.5; t < t1 - 1e-9; t += kBeat) {
    const Chord& c = chordAt(p, t0, t);
    for (int semis : {0, c.third, c.fifth}) add(s, t, kEighth * 0.7, v, (float)inRange(c, semis, 62), vel, -0.3f);
  }
}

}  // namespace

std::vector<Note> composeScore() {
  Score s;
  const Voice Bell = Voice::Bell, Organ = Voice::Organ;

  // 0-13: the sea in its frame. Music box over breath; the pulse arrives with the logo.
  add(s, 0, 1, Voice::Bass, 38, 0.4f);
  bed(s, kThemeProg, 1, 13, {Voice::Air, 67, 3, 0.16f});
  theme(s, kThemeDark, 1, 0, 6, Bell, 0, 0.32f, 0.2f);
  drums(s, 5, 13, Beat::Heartbeat, 0.8f);

  // 13-41: the bird, hammers and angels: the band comes in, then the theme.
  drums(s, 13, 41, Beat::Groove, 0.8f);
  bass(s, kThemeProg, 13, 41, Bassline::Roots, 0.45f);
  bed(s, kThemeProg, 13, 41, {Voice::Pad, 60, 3, 0.14f});
  theme(s, kThemeDark, 17, 0, 8, Bell, 0, 0.3f, 0.2f);
  stabs(s, kThemeProg, 33, 41, Organ, 0.06f);
  theme(s, kThemeDark, 33, 4, 4, Bell, 12, 0.2f, -0.3f);

  // 41-73: the table. Oom-pah with an organ carrying the tune, then the music box an octave up.
  drums(s, 41, 73, Beat::Groove, 0.75f);
  bass(s, kThemeProg, 41, 73, Bassline::OomPah, 0.5f);
  stabs(s, kThemeProg, 41, 73, Organ, 0.05f);
  theme(s, kThemeDark, 41, 0, 8, Organ, 0, 0.2f, 0.1f);
  theme(s, kThemeDark, 57, 0, 8, Bell, 12, 0.26f, 0.25f);
  theme(s, kThemeDark, 57, 0, 8, Organ, -12, 0.1f, -0.2f);

  // 73-89: the parade: a march and the bright tune.
  drums(s, 73, 89, Beat::March, 0.8f);
  bass(s, kBrightProg, 73, 89, Bassline::OomPah, 0.5f);
  theme(s, kThemeBright, 73, 0, 8, Organ, 0, 0.19f, 0.1f);
  arp(s, kBrightProg, 73, 89, kSixteenth, Bell, 74, 0.1f, -0.4f);

  // 89-97: the empty room: everything stops but a heartbeat and a few chimes.
  bed(s, kThemeProg, 89, 97, {Voice::Air, 55, 3, 0.14f});
  drums(s, 89, 97, Beat::Heartbeat, 0.6f);
  arp(s, kThemeProg, 89, 97, kBeat, Bell, 69, 0.16f, 0.3f);

  // 97-121: the cave and the forest: stalking bass, toms for the axes.
  bed(s, kCaveProg, 97, 121, {Voice::Pad, 51, 3, 0.11f});
  bass(s, kCaveProg, 97, 121, Bassline::Stalk, 0.55f);
  drums(s, 97, 121, Beat::HalfTime, 0.75f);
  for (double t = 97; t < 121; t += kBar) {
    add(s, t + 1.5, 0, Voice::Tom, 45, 0.5f, -0.3f);
    add(s, t + 1.75, 0, Voice::Tom, 40, 0.45f, 0.3f);
  }
  theme(s, kThemeDark, 113, 0, 4, Bell, -12, 0.3f, 0.2f);

  // 121-161: the stage. Organ tune, bees buzzing from 124, the fall at 141 (replayed), heavy from 145.
  drums(s, 121, 141, Beat::Groove, 0.8f);
  bass(s, kThemeProg, 121, 141, Bassline::OomPah, 0.5f);
  bed(s, kThemeProg, 121, 141, {Voice::Strings, 73, 3, 0.15f});
  theme(s, kThemeDark, 121, 0, 8, Organ, 0, 0.28f, 0.1f);
  for (double t = 124; t < 141; t += kSixteenth) {
    int i = (int)std::lround((t - 124) / kSixteenth);
    add(s, t, kSixteenth, Bell, (float)(86 + i % 2), 0.05f, (float)std::sin(i * 0.3));
  }
  for (int i = 0; i < 32; i++) {  // the fall: a chromatic tumble over two bars
    add(s, 141 + i * kSixteenth, kSixteenth, Bell, (float)(93 - i), 0.22f, (i % 2) ? 0.4f : -0.4f);
    if (i % 4 == 0) add(s, 141 + i * kSixteenth, 0, Voice::Tom, (float)(52 - i / 2), 0.45f);
  }
  for (int i = 0; i < 8; i++) add(s, 141 + i * kBeat, kBeat * 0.9, Voice::Bass, (float)(45 - i), 0.5f);  // the floor gives way
  add(s, 149, 0, Voice::Crash, 0, 0.35f);
  drums(s, 149, 161, Beat::Busy, 0.85f);
  bass(s, kThemeProg, 149, 161, Bassline::Roots, 0.5f);
  theme(s, kThemeDark, 149, 2, 6, Organ, 0, 0.28f, 0.1f);
  bed(s, kThemeProg, 149, 161, {Voice::Pad, 64, 4, 0.11f});

  // 161-169: the second cave; the skull cracks at 163.5 and the balloon rises.
  bed(s, kCaveProg, 161, 169, {Voice::Pad, 49, 3, 0.12f});
  bass(s, kCaveProg, 161, 169, Bassline::Stalk, 0.45f);
  drums(s, 165, 169, Beat::Heartbeat, 0.7f);
  add(s, 163.5, 0, Voice::Crash, 0, 0.5f);
  add(s, 163.5, 0, Voice::Kick, 0, 0.9f);
  add(s, 163.5, 0, Voice::Tom, 38, 0.6f);
  for (int i = 0; i < 12; i++) add(s, 163.625 + i * kSixteenth, kSixteenth, Bell, (float)(62 + (i * 7) % 24 + i), 0.16f, -0.5f + i / 11.0f);

  // 169-209: the grid wall, the balloon and the taps: bright and quick.
  drums(s, 169, 184, Beat::Groove, 0.8f);
  drums(s, 184, 209, Beat::Busy, 0.8f);
  bass(s, kBrightProg, 169, 209, Bassline::Roots, 0.5f);
  bed(s, kBrightProg, 169, 209, {Voice::Strings, 65, 3, 0.2f});
  arp(s, kBrightProg, 169, 209, kSixteenth, Bell, 72, 0.1f, -0.4f);
  theme(s, kThemeBright, 177, 0, 8, Organ, 0, 0.19f, 0.15f);
  theme(s, kThemeBright, 193, 0, 8, Bell, 12, 0.24f, 0.3f);
  stabs(s, kBrightProg, 193, 209, Organ, 0.045f);

  // 209-241: the ascent: half time, wide chords, a slow organ line; the chain clanks 225-237.7.
  drums(s, 209, 237, Beat::HalfTime, 0.75f);
  bass(s, kAscentProg, 209, 237, Bassline::Drone, 0.5f);
  bed(s, kAscentProg, 209, 241, {Voice::Strings, 61, 4, 0.16f});
  arp(s, kAscentProg, 209, 237, kEighth, Bell, 69, 0.14f, 0.35f);
  for (double t = 209; t < 237; t += kBar) {
    const Chord& c = chordAt(kAscentProg, 209, t);
    add(s, t, kBar * 0.9, Organ, (float)inRange(c, c.fifth, 69), 0.12f, -0.2f);
  }
  for (double t = 225; t < 237.7; t += kBeat) {
    add(s, t + kEighth, 0, Voice::OpenHat, 0, 0.12f, -0.5f);
    add(s, t + kEighth, kSixteenth, Bell, 98, 0.04f, 0.5f);
  }
  add(s, 237, 0, Voice::Crash, 0, 0.35f);
  add(s, 237, 0, Voice::Kick, 0, 0.8f);

  // 241-273: black, then the picture clears: a slow turn of chords, the theme returns, and the full band to close.
  bass(s, kBlackProg, 241, 249, Bassline::Drone, 0.35f);
  bed(s, kBlackProg, 241, 249, {Voice::Air, 65, 3, 0.12f});
  arp(s, kBlackProg, 241, 249, kBeat, Bell, 74, 0.09f, 0.4f);
  bed(s, kThemeProg, 249, 257, {Voice::Air, 62, 3, 0.12f});
  bed(s, kThemeProg, 257, 273, {Voice::Pad, 66, 4, 0.13f});
  theme(s, kThemeDark, 249, 0, 4, Bell, 0, 0.22f, 0.2f);
  drums(s, 249, 257, Beat::Heartbeat, 0.7f);
  drums(s, 257, 273, Beat::Groove, 0.85f);
  bass(s, kThemeProg, 257, 273, Bassline::Roots, 0.5f);
  theme(s, kThemeDark, 257, 0, 8, Organ, 0, 0.2f, 0.1f);
  theme(s, kThemeDark, 257, 0, 8, Bell, 12, 0.2f, 0.3f);

  // 273-300: the coda after the picture: the music box alone, slowing, then a last chord.
  add(s, 273, 0, Voice::Crash, 0, 0.25f);
  bed(s, kThemeProg, 273, 289, {Voice::Air, 70, 3, 0.13f});
  theme(s, kThemeDark, 273, 0, 8, Bell, 0, 0.3f, 0.1f);
  bass(s, Prog{Dm}, 289, 299, Bassline::Drone, 0.35f);
  bed(s, Prog{Dm}, 289, 299, {Voice::Pad, 62, 4, 0.12f});
  for (int i = 0; i < 3; i++) add(s, 289 + i * kBeat, 2, Bell, (float)(74 + 7 * i - (i == 2 ? 2 : 0)), 0.2f, -0.3f + 0.3f * i);
  return s.notes;
}
