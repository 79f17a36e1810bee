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
const Prog kFinalProg = {Dm, A, Bb, Dm, Gm, A, Dm};  // the last phrase: iv, V, i

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
  Take take = Take::Both;  // the take of the notes added now
};

void add(Score& s, double at, double len, Voice v, float pitch, float vel, float pan = 0) {
  s.notes.push_back(Note{at, len, v, pitch, vel, pan, s.take});
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

// What holds the chords in a section: the voice, the pitch it sits around,
// how many notes it holds, and how loud it starts and ends (a swell when
// `until` is above `vel`).
struct Bed {
  Voice voice;
  int centre, voices;
  float vel, until;
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
    float along = (float)((t - t0) / std::max(kBar, t1 - t0 - kBar));
    float vel = (b.vel + (b.until - b.vel) * along) * (0.85f + 0.1f * (float)(bar % 4));
    for (size_t i = 0; i < held.size(); i++) {
      float pan = held.size() > 1 ? -0.4f + 0.8f * (float)i / (float)(held.size() - 1) : 0.0f;  // low left, high right
      add(s, t, kBar * 0.95, b.voice, (float)held[i], vel, pan);
    }
  }
}

// Pulse: a dotted figure around the root; Drive: eighths jumping the octave,
// for the fast stretch; the rest as named.
enum class Bassline { Pulse, Drive, OomPah, Stalk, Drone };

void bass(Score& s, const Prog& p, double t0, double t1, Bassline style, float vel) {
  for (double t = t0; t < t1 - 1e-9; t += kEighth) {
    const Chord& c = chordAt(p, t0, t);
    int step = (int)std::lround((t - t0) / kEighth) % 8;
    int root = inRange(c, 0, 36), fifth = inRange(c, c.fifth, 36);
    switch (style) {
      case Bassline::Pulse:
        if (step == 0) add(s, t, kEighth * 2.8, Voice::Bass, (float)root, vel);
        if (step == 3) add(s, t, kEighth * 0.8, Voice::Bass, (float)root, vel * 0.75f);
        if (step == 4) add(s, t, kEighth * 1.8, Voice::Bass, (float)fifth, vel * 0.85f);
        if (step == 6) add(s, t, kEighth * 0.8, Voice::Bass, (float)root + 12, vel * 0.7f);
        break;
      case Bassline::Drive:
        add(s, t, kEighth * 0.85, Voice::Bass, (float)(step % 4 == 3 ? root + 12 : root), step % 2 ? vel * 0.75f : vel);
        break;
      case Bassline::OomPah:
        if (step % 2 == 0) add(s, t, kEighth * 0.9, Voice::Bass, (float)(step % 4 == 0 ? root : fifth), vel);
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

// A snare roll in sixteenths growing from `from` to `to`: the run-up to a downbeat.
void roll(Score& s, double t0, double t1, float from, float to) {
  for (double t = t0; t < t1 - 1e-9; t += kSixteenth) {
    float along = (float)((t - t0) / (t1 - t0));
    add(s, t, 0, Voice::Snare, 0, from + (to - from) * along * along, 0.1f - 0.3f * along);
  }
}

// Where a new part of the picture starts: a cymbal over the beat's own kick.
void downbeat(Score& s, double t, float vel) { add(s, t, 0, Voice::Crash, 0, vel * 0.45f, 0.2f); }

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

// Offbeat chord stabs, the oom-pah's "pah", in the octave from `lo`.
void stabs(Score& s, const Prog& p, double t0, double t1, Voice v, int lo, float vel) {
  for (double t = t0 + kBeat * 0.5; t < t1 - 1e-9; t += kBeat) {
    const Chord& c = chordAt(p, t0, t);
    for (int semis : {0, c.third, c.fifth}) add(s, t, kEighth * 0.7, v, (float)inRange(c, semis, lo), vel, -0.3f);
  }
}

}  // namespace

std::vector<Note> composeScore() {
  Score s;
  const Voice Bell = Voice::Bell, Organ = Voice::Organ, Strings = Voice::Strings, Pad = Voice::Pad, Air = Voice::Air;

  // The tune keeps a register of its own: the beds and stabs lie under it
  // (the music box mostly sings from E5 up, the organ from E4), the bass
  // stays below 250 Hz.

  // Act one, 0-73: the sea, the bird and the table; from almost nothing to
  // the first full band.
  // 0-13: the music box alone over breath; a heartbeat comes with the logo.
  add(s, 0, 1, Voice::Bass, 38, 0.12f);
  add(s, 0, 1, Bell, 74, 0.09f, -0.2f);
  bed(s, kThemeProg, 1, 13, {Air, 62, 3, 0.04f, 0.07f});
  theme(s, kThemeDark, 1, 0, 6, Bell, 12, 0.09f, 0.2f);
  bass(s, kThemeProg, 9, 13, Bassline::Drone, 0.14f);
  drums(s, 9, 13, Beat::Heartbeat, 0.3f);

  // 13-41: the band comes in softly, the theme over it; fuller from 29.
  drums(s, 13, 29, Beat::Groove, 0.42f);
  bass(s, kThemeProg, 13, 29, Bassline::Pulse, 0.27f);
  bed(s, kThemeProg, 13, 29, {Pad, 55, 3, 0.07f, 0.11f});
  theme(s, kThemeDark, 13, 0, 8, Bell, 12, 0.17f, 0.2f);
  drums(s, 29, 41, Beat::Groove, 0.62f);
  bass(s, kThemeProg, 29, 41, Bassline::Pulse, 0.38f);
  bed(s, kThemeProg, 29, 41, {Pad, 60, 3, 0.11f, 0.13f});
  stabs(s, kThemeProg, 29, 41, Organ, 55, 0.04f);
  theme(s, kThemeDark, 29, 0, 6, Bell, 12, 0.22f, 0.25f);
  arp(s, kThemeProg, 29, 41, kEighth, Bell, 86, 0.035f, -0.4f);

  // 41-73: the table: oom-pah with the organ on the tune, then the music box
  // over it and strings swelling into the parade; a bar's stop before it.
  drums(s, 41, 57, Beat::Groove, 0.62f);
  bass(s, kThemeProg, 41, 73, Bassline::OomPah, 0.4f);
  stabs(s, kThemeProg, 41, 72.5, Organ, 55, 0.045f);
  theme(s, kThemeDark, 41, 0, 8, Organ, 0, 0.17f, 0.1f);
  drums(s, 57, 71, Beat::Busy, 0.72f);
  theme(s, kThemeDark, 57, 0, 8, Bell, 12, 0.25f, 0.25f);
  theme(s, kThemeDark, 57, 0, 8, Organ, -12, 0.14f, -0.2f);
  bed(s, kThemeProg, 57, 73, {Strings, 64, 3, 0.1f, 0.2f});
  roll(s, 71, 72.5, 0.12f, 0.5f);

  // Act two, 73-121: the parade, the empty room and the cave.
  // 73-89: a march and the bright tune.
  downbeat(s, 73, 0.9f);
  drums(s, 73, 89, Beat::March, 0.8f);
  bass(s, kBrightProg, 73, 89, Bassline::OomPah, 0.45f);
  theme(s, kThemeBright, 73, 0, 8, Organ, 0, 0.19f, 0.1f);
  theme(s, kThemeBright, 81, 4, 4, Bell, 12, 0.16f, 0.3f);
  arp(s, kBrightProg, 73, 89, kSixteenth, Bell, 55, 0.06f, -0.4f);
  bed(s, kBrightProg, 73, 89, {Pad, 52, 3, 0.1f, 0.12f});

  // 89-97: the empty room: the band stops; breath and a few chimes.
  bed(s, kThemeProg, 89, 97, {Air, 62, 3, 0.04f, 0.03f});
  arp(s, kThemeProg, 89, 97, kBeat, Bell, 74, 0.05f, 0.3f);
  add(s, 89, 2, Voice::Bass, 38, 0.1f);

  // 97-121: the cave and the forest: stalking bass, toms for the axes,
  // darker and growing.
  bed(s, kCaveProg, 97, 121, {Pad, 51, 3, 0.08f, 0.13f});
  bass(s, kCaveProg, 97, 121, Bassline::Stalk, 0.42f);
  drums(s, 97, 121, Beat::HalfTime, 0.62f);
  for (double t = 97; t < 121; t += kBar) {
    float grow = (float)((t - 97) / 24.0);
    add(s, t + 1.5, 0, Voice::Tom, 45, 0.3f + 0.25f * grow, -0.3f);
    add(s, t + 1.75, 0, Voice::Tom, 40, 0.28f + 0.22f * grow, 0.3f);
  }
  theme(s, kThemeDark, 105, 0, 8, Bell, 0, 0.16f, 0.2f);
  roll(s, 119, 121, 0.08f, 0.45f);

  // Act three, 121-169: the stage, the fall, the second cave.
  // 121-141: organ tune, bees buzzing from 124.
  downbeat(s, 121, 0.85f);
  drums(s, 121, 141, Beat::Groove, 0.72f);
  bass(s, kThemeProg, 121, 141, Bassline::OomPah, 0.42f);
  bed(s, kThemeProg, 121, 141, {Strings, 48, 3, 0.11f, 0.16f});
  theme(s, kThemeDark, 121, 0, 8, Organ, 0, 0.22f, 0.1f);
  for (double t = 124; t < 141; t += kSixteenth) {
    int i = (int)std::lround((t - 124) / kSixteenth);
    add(s, t, kSixteenth, Bell, (float)(86 + i % 2), 0.035f, (float)std::sin(i * 0.3));
  }
  // 141-145, played twice: the floor gives way in a chromatic tumble.
  for (int i = 0; i < 32; i++) {
    add(s, 141 + i * kSixteenth, kSixteenth, Bell, (float)(93 - i), 0.17f, (i % 2) ? 0.4f : -0.4f);
    if (i % 4 == 0) add(s, 141 + i * kSixteenth, 0, Voice::Tom, (float)(52 - i / 2), 0.26f);
  }
  for (int i = 0; i < 8; i++) add(s, 141 + i * kBeat, kBeat * 0.9, Voice::Bass, (float)(45 - i), 0.36f);
  // 149-161: heavy, though short of what the fast stretch will bring.
  downbeat(s, 149, 1.0f);
  drums(s, 149, 161, Beat::Busy, 0.72f);
  bass(s, kThemeProg, 149, 161, Bassline::Drive, 0.4f);
  theme(s, kThemeDark, 149, 2, 6, Organ, 0, 0.22f, 0.1f);
  theme(s, kThemeDark, 149, 2, 6, Bell, 12, 0.2f, 0.3f);
  bed(s, kThemeProg, 149, 161, {Pad, 50, 4, 0.11f, 0.12f});
  stabs(s, kThemeProg, 149, 161, Organ, 55, 0.04f);
  // 161-169: the second cave, almost silent; the skull cracks at 163.5.
  bed(s, kCaveProg, 161, 169, {Pad, 49, 3, 0.035f, 0.045f});
  bass(s, kCaveProg, 161, 169, Bassline::Drone, 0.1f);
  add(s, 163.5, 0, Voice::Crash, 0, 0.12f);
  add(s, 163.5, 0, Voice::Kick, 0, 0.35f);
  add(s, 163.5, 0, Voice::Tom, 38, 0.22f);
  for (int i = 0; i < 12; i++) add(s, 163.625 + i * kSixteenth, kSixteenth, Bell, (float)(62 + (i * 7) % 24 + i), 0.06f, -0.5f + i / 11.0f);
  drums(s, 165, 169, Beat::Heartbeat, 0.2f);

  // Act four, 169-209: the grid wall, the balloon and the taps. Eight
  // seconds of run-up, then the fast stretch from 177 is the climax.
  downbeat(s, 169, 0.6f);
  for (double t = 169; t < 177; t += kBeat) add(s, t, 0, Voice::Kick, 0, 0.45f + 0.3f * (float)((t - 169) / 8));
  bass(s, kBrightProg, 169, 177, Bassline::Pulse, 0.36f);
  bed(s, kBrightProg, 169, 177, {Strings, 64, 3, 0.07f, 0.17f});
  arp(s, kBrightProg, 169, 177, kSixteenth, Bell, 72, 0.04f, -0.4f);
  roll(s, 173, 177, 0.05f, 0.55f);
  for (double t = 177; t < 209; t += 4 * kBar) downbeat(s, t, 1.0f);
  drums(s, 177, 207, Beat::Busy, 0.9f);
  bass(s, kBrightProg, 177, 209, Bassline::Drive, 0.45f);
  bed(s, kBrightProg, 177, 209, {Strings, 60, 4, 0.17f, 0.2f});
  bed(s, kBrightProg, 177, 209, {Pad, 52, 3, 0.1f, 0.1f});
  theme(s, kThemeBright, 177, 0, 8, Bell, 12, 0.24f, 0.3f);
  theme(s, kThemeBright, 177, 0, 8, Organ, 0, 0.17f, 0.1f);
  theme(s, kThemeBright, 193, 0, 8, Bell, 12, 0.26f, 0.3f);
  theme(s, kThemeBright, 193, 0, 8, Organ, 0, 0.2f, 0.1f);
  stabs(s, kBrightProg, 177, 207, Organ, 55, 0.05f);
  for (int i = 0; i < 8; i++) add(s, 207 + i * kEighth, 0, Voice::Tom, (float)(50 - 2 * i), 0.5f, 0.4f - 0.1f * i);

  // Act five, 209-241: the ascent: half time, wide chords, a slow organ line;
  // the chain clanks 225-237.7 and the climb peaks at 237.
  downbeat(s, 209, 0.8f);
  drums(s, 209, 225, Beat::HalfTime, 0.55f);
  bass(s, kAscentProg, 209, 233, Bassline::Drone, 0.38f);
  bed(s, kAscentProg, 209, 233, {Strings, 64, 4, 0.1f, 0.16f});
  arp(s, kAscentProg, 209, 233, kEighth, Bell, 76, 0.07f, 0.35f);
  for (double t = 209; t < 233; t += kBar) {
    const Chord& c = chordAt(kAscentProg, 209, t);
    add(s, t, kBar * 0.9, Organ, (float)inRange(c, c.fifth, 69), 0.1f, -0.2f);
  }
  drums(s, 225, 233, Beat::Groove, 0.7f);
  // The first time through 233-241 the climb goes on to its top; the
  // replay, as the picture goes black, drops to a bell tolling in the dark.
  s.take = Take::First;
  for (double t = 225; t < 237.7; t += kBeat) {
    add(s, t + kEighth, 0, Voice::OpenHat, 0, 0.1f, -0.5f);
    add(s, t + kEighth, kSixteenth, Bell, 98, 0.035f, 0.5f);
  }
  drums(s, 233, 237, Beat::Busy, 0.8f);
  bass(s, kAscentProg, 233, 241, Bassline::Drive, 0.42f);
  bed(s, kAscentProg, 233, 241, {Strings, 62, 4, 0.17f, 0.2f});
  theme(s, kThemeDark, 233, 4, 4, Bell, 12, 0.24f, 0.3f);
  roll(s, 235, 237, 0.1f, 0.5f);
  downbeat(s, 237, 1.0f);
  drums(s, 237, 241, Beat::Busy, 0.85f);
  s.take = Take::Replay;
  add(s, 233, 4, Voice::Bass, 38, 0.2f);
  add(s, 233, 4, Bell, 62, 0.14f, -0.1f);
  add(s, 233, 4, Bell, 74, 0.07f, 0.2f);
  add(s, 233, 0, Voice::Kick, 0, 0.7f);
  add(s, 233, 0, Voice::Tom, 38, 0.3f);
  bed(s, kBlackProg, 233, 241, {Air, 60, 3, 0.06f, 0.05f});
  s.take = Take::Both;

  // 241-257: black, then the picture clears: a slow turn of chords, then the
  // theme on the music box alone.
  bed(s, kBlackProg, 241, 249, {Air, 62, 3, 0.06f, 0.07f});
  bass(s, kBlackProg, 241, 249, Bassline::Drone, 0.17f);
  arp(s, kBlackProg, 241, 249, kBeat, Bell, 74, 0.05f, 0.4f);
  bed(s, kThemeProg, 249, 257, {Air, 60, 3, 0.08f, 0.1f});
  theme(s, kThemeDark, 249, 0, 4, Bell, 12, 0.16f, 0.2f);
  drums(s, 249, 257, Beat::Heartbeat, 0.4f);
  roll(s, 255, 257, 0.05f, 0.4f);

  // 257-273: the full band a last time, and the cadence the picture ends on:
  // iv, V, i, the last chord at 269 ringing out to silence before 272.
  downbeat(s, 257, 0.9f);
  drums(s, 257, 265, Beat::Groove, 0.8f);
  bass(s, kFinalProg, 257, 269, Bassline::Pulse, 0.42f);
  bed(s, kFinalProg, 257, 269, {Strings, 63, 4, 0.14f, 0.18f});
  bed(s, kFinalProg, 257, 269, {Pad, 54, 3, 0.1f, 0.1f});
  theme(s, kThemeDark, 257, 0, 3, Bell, 12, 0.24f, 0.3f);
  theme(s, kThemeDark, 257, 0, 3, Organ, 0, 0.18f, 0.1f);
  theme(s, kThemeDark, 263, 4, 3, Bell, 12, 0.24f, 0.3f);
  theme(s, kThemeDark, 263, 4, 3, Organ, 0, 0.18f, 0.1f);
  downbeat(s, 265, 0.8f);
  drums(s, 265, 269, Beat::HalfTime, 0.7f);
  roll(s, 268, 269, 0.1f, 0.35f);
  // The final chord: D minor from the bass's low D to the tune's D5, held
  // and let go.
  downbeat(s, 269, 0.8f);
  add(s, 269, 0, Voice::Kick, 0, 0.8f);
  add(s, 269, 1.6, Voice::Bass, 38, 0.5f);
  for (int p : {50, 57, 62, 65, 69}) add(s, 269, 1.8, Strings, (float)p, 0.16f, (p - 60) / 20.0f);
  for (int p : {50, 57, 62}) add(s, 269, 2.0, Pad, (float)p, 0.1f);
  add(s, 269, 2, Bell, 86, 0.26f, 0.3f);
  add(s, 269, 2, Bell, 74, 0.18f, -0.2f);
  add(s, 269, 2, Organ, 74, 0.14f, 0.1f);
  return s.notes;
}
