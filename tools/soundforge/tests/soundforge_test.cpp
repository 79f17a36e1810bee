#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <opencv2/core.hpp>

#include "limiter.h"
#include "loudness.h"
#include "master.h"
#include "score.h"
#include "timeline.h"
#include "timing/soundtrack_decode.h"

namespace {

const double kPi = 3.141592653589793;

std::vector<Note> at(const std::vector<Note>& notes, double t) {
  std::vector<Note> out;
  for (const Note& n : notes)
    if (std::fabs(n.at - t) < 1e-6) out.push_back(n);
  return out;
}

std::string readAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// A sine of `dbfs` peak level in both channels, appended for `seconds`.
void appendSine(std::vector<float>& left, std::vector<float>& right, double hz, double dbfs, double seconds, int rate) {
  const float a = (float)std::pow(10.0, dbfs / 20.0);
  const size_t n = (size_t)(seconds * rate), first = left.size();
  for (size_t i = 0; i < n; i++) {
    float v = a * (float)std::sin(2 * kPi * hz * (double)(first + i) / rate);
    left.push_back(v);
    right.push_back(v);
  }
}

}  // namespace

TEST(SoundforgeTimeline, ReplaysSkipsAndRescalesLikeTheShow) {
  std::vector<Note> score = {{142.0, 0.5, Voice::Bell, 69, 1, 0}, {146.0, 0.5, Voice::Bell, 69, 1, 0},
                             {180.0, 0.5, Voice::Bell, 69, 1, 0}, {5.0, 1.0, Voice::Bell, 69, 1, 0}};
  std::vector<Note> raw = placeOnRawTime(score, showSegments());
  ASSERT_EQ(raw.size(), 4u);  // 142 twice, 146 skipped, 180 and 5 once
  EXPECT_NEAR(raw[0].at, 5.0 * 11.984 / 9.0, 1e-9);
  EXPECT_NEAR(raw[0].len, 11.984 / 9.0, 1e-9);
  EXPECT_NEAR(raw[1].at, 125.984 + 19.0 * 21.912 / 22.0, 1e-9);
  EXPECT_NEAR(raw[2].at, 148.896, 1e-9);
  EXPECT_NEAR(raw[3].at, 179.802 + 3.0 * 24.015 / 32.0, 1e-9);

  // A note in the replayed 233-241 plays in both passes unless its take says
  // which one.
  std::vector<Note> takes = {{235.0, 1, Voice::Bell, 69, 1, 0, Take::Both},
                             {235.0, 1, Voice::Bell, 70, 1, 0, Take::First},
                             {235.0, 1, Voice::Bell, 71, 1, 0, Take::Replay}};
  std::map<int, std::vector<double>> heard;
  for (const Note& n : placeOnRawTime(takes, showSegments())) heard[(int)n.pitch].push_back(n.at);
  ASSERT_EQ(heard[69].size(), 2u);
  ASSERT_EQ(heard[70].size(), 1u);
  ASSERT_EQ(heard[71].size(), 1u);
  EXPECT_NEAR(heard[69][0], 229.817, 1e-9);
  EXPECT_NEAR(heard[69][1], 237.817, 1e-9);
  EXPECT_NEAR(heard[70][0], 229.817, 1e-9);
  EXPECT_NEAR(heard[71][0], 237.817, 1e-9);
}

TEST(SoundforgeTimeline, SegmentsCoverRawTimeWithoutGaps) {
  const std::vector<Segment>& s = showSegments();
  ASSERT_EQ(s.size(), 11u);
  EXPECT_EQ(s.front().raw0, 0.0);
  for (size_t i = 1; i < s.size(); i++) EXPECT_EQ(s[i].raw0, s[i - 1].raw1) << i;
  EXPECT_NEAR(s.back().raw1, 314.86, 1e-9);
}

// The picture bounces once a scene second; the kick follows it where the
// band plays (every second, or every bar in the half-time stretches) and
// leaves it alone in the breaks. Spans in scene seconds.
TEST(SoundforgeScore, KicksFollowTheBeatMap) {
  std::vector<Note> score = composeScore();
  auto kickAt = [&](double t) {
    for (const Note& n : at(score, t))
      if (n.voice == Voice::Kick) return true;
    return false;
  };
  struct Span {
    double from, to, every;
  };
  const Span pulse[] = {{9, 71, 1},    {73, 89, 1},   {97, 121, 2},  {121, 141, 1}, {149, 161, 1}, {165, 207, 1},
                        {209, 225, 2}, {225, 241, 1}, {249, 265, 1}, {265, 269, 2}, {269, 270, 1}};
  for (const Span& p : pulse)
    for (double t = p.from; t < p.to; t += p.every) EXPECT_TRUE(kickAt(t)) << "no kick at scene second " << t;
  const Span breaks[] = {{89, 97, 0}, {161, 163.5, 0}, {241, 249, 0}, {269.01, 300, 0}};
  for (const Span& b : breaks)
    for (const Note& n : score)
      EXPECT_FALSE(n.voice == Voice::Kick && n.at >= b.from && n.at < b.to) << "a kick in the break at " << n.at;
}

// The piece ends with the picture (raw 278.569): no note starts in the last
// two seconds, so the final chord has time to ring out.
TEST(SoundforgeScore, NothingStartsInTheShowsLastTwoSeconds) {
  double last = 0;
  for (const Note& n : placeOnRawTime(composeScore(), showSegments())) last = std::max(last, n.at);
  EXPECT_LE(last, 276.6);
  EXPECT_GT(last, 270.0);  // but the music plays on close to the end
}

// The bass alone keeps out of the melody's range: its notes are low-passed
// and their edges soft, so above 1 kHz it is at least 30 dB down.
TEST(SoundforgeScore, BassStemStaysUnderOneKilohertz) {
  const int rate = 44100, frame = 8192;
  const std::vector<Note> notes = placeOnRawTime(composeScore(), showSegments());
  Bus bus = makeBus(rate, 280.0);
  int count = 0;
  for (size_t i = 0; i < notes.size(); i++)
    if (notes[i].voice == Voice::Bass) {
      renderNote(bus, notes[i], (uint32_t)i);
      count++;
    }
  ASSERT_GT(count, 100);
  cv::Mat x(1, frame, CV_32F), spectrum;
  double total = 0, high = 0;
  const int firstHigh = 1000 * frame / rate;
  for (size_t start = 0; start + frame <= bus.left.size(); start += frame / 2) {
    for (int i = 0; i < frame; i++) {
      float hann = 0.5f - 0.5f * (float)std::cos(2 * kPi * i / (frame - 1));
      x.at<float>(0, i) = hann * (bus.left[start + i] + bus.right[start + i]);
    }
    cv::dft(x, spectrum, cv::DFT_COMPLEX_OUTPUT);
    for (int k = 1; k < frame / 2; k++) {
      cv::Vec2f c = spectrum.at<cv::Vec2f>(0, k);
      double e = (double)c[0] * c[0] + (double)c[1] * c[1];
      total += e;
      if (k > firstHigh) high += e;
    }
  }
  ASSERT_GT(total, 0.0);
  EXPECT_LT(10 * std::log10(high / total), -30.0);
}

// The held notes (a second and longer: the bed, the long bass notes) move
// with the harmony and the sections: no pitch sounds under a third of the
// show, as a common tone voiced in one fixed octave did.
TEST(SoundforgeScore, NoPitchIsHeldThroughMuchOfTheShow) {
  const double show = 273.0;
  std::map<int, std::vector<std::pair<double, double>>> held;
  for (const Note& n : composeScore())
    if (n.len >= 1.0 && n.at < show) held[(int)std::lround(n.pitch)].push_back({n.at, std::min(show, n.at + n.len)});
  ASSERT_FALSE(held.empty());
  for (auto& [pitch, spans] : held) {
    std::sort(spans.begin(), spans.end());
    double covered = 0, end = 0;
    for (auto [from, to] : spans) {
      covered += std::max(0.0, to - std::max(from, end));
      end = std::max(end, to);
    }
    EXPECT_LT(covered / show, 1.0 / 3.0) << "pitch " << pitch << " held for " << covered << " s";
  }
}

// The meter against the standard's own figures: the K-weighting's published
// 48 kHz coefficients, a 1 kHz tone at -23 dBFS in both channels reading
// -23 LUFS, and the gates dropping quiet passages and silence.
TEST(SoundforgeLoudness, KWeightingMatchesThePublishedCoefficients) {
  Biquad shelf = kShelf(48000), low = kHighPass(48000);
  EXPECT_NEAR(shelf.b0, 1.53512485958697, 1e-6);
  EXPECT_NEAR(shelf.b1, -2.69169618940638, 1e-6);
  EXPECT_NEAR(shelf.b2, 1.19839281085285, 1e-6);
  EXPECT_NEAR(shelf.a1, -1.69065929318241, 1e-6);
  EXPECT_NEAR(shelf.a2, 0.73248077421585, 1e-6);
  EXPECT_EQ(low.b0, 1.0);
  EXPECT_EQ(low.b1, -2.0);
  EXPECT_EQ(low.b2, 1.0);
  EXPECT_NEAR(low.a1, -1.99004745483398, 1e-6);
  EXPECT_NEAR(low.a2, 0.99007225036621, 1e-6);
}

TEST(SoundforgeLoudness, ToneLevelsAndGatesReadAsTheStandardSays) {
  const int rate = 44100;
  std::vector<float> l, r;
  appendSine(l, r, 1000, -23, 20, rate);
  EXPECT_NEAR(integratedLoudness(l, r, rate), -23.0, 0.1);
  l.clear();
  r.clear();
  appendSine(l, r, 1000, -33, 20, rate);
  EXPECT_NEAR(integratedLoudness(l, r, rate), -33.0, 0.1);

  // -36 dBFS either side of a -23 dBFS minute: the relative gate leaves the
  // minute alone (both counted would read -24.2).
  l.clear();
  r.clear();
  appendSine(l, r, 1000, -36, 10, rate);
  appendSine(l, r, 1000, -23, 60, rate);
  appendSine(l, r, 1000, -36, 10, rate);
  EXPECT_NEAR(integratedLoudness(l, r, rate), -23.0, 0.1);
  // Silence and -72 dBFS around it change nothing either.
  std::vector<float> quietL, quietR;
  appendSine(quietL, quietR, 1000, -72, 10, rate);
  l.insert(l.begin(), quietL.begin(), quietL.end());
  r.insert(r.begin(), quietR.begin(), quietR.end());
  l.resize(l.size() + 10 * rate, 0.0f);
  r.resize(r.size() + 10 * rate, 0.0f);
  EXPECT_NEAR(integratedLoudness(l, r, rate), -23.0, 0.1);
  EXPECT_EQ(integratedLoudness(std::vector<float>(rate, 0.0f), std::vector<float>(rate, 0.0f), rate), -HUGE_VAL);
  // Deep bass weighs less than the same level at 1 kHz: the low cut.
  l.clear();
  r.clear();
  appendSine(l, r, 25, -23, 20, rate);
  EXPECT_LT(integratedLoudness(l, r, rate), -27.0);
}

// The range against EBU Tech 3342's test signals: 1 kHz tones in steps of
// 20 s; the quietest steps of the last fall under the relative gate.
TEST(SoundforgeLoudness, RangeReadsTheTechDocFigures) {
  const int rate = 44100;
  auto range = [&](std::vector<double> steps) {
    std::vector<float> l, r;
    for (double dbfs : steps) appendSine(l, r, 1000, dbfs, 20, rate);
    return loudnessRange(shortTermLoudness(l, r, rate));
  };
  EXPECT_NEAR(range({-20, -30}), 10.0, 0.1);
  EXPECT_NEAR(range({-20, -15}), 5.0, 0.1);
  EXPECT_NEAR(range({-40, -20}), 20.0, 0.1);
  EXPECT_NEAR(range({-50, -35, -20, -35, -50}), 15.0, 0.1);
  EXPECT_EQ(loudnessRange({}), 0.0);
}

// A tone at a quarter of the sample rate whose samples all fall 45 degrees
// off its crests: the samples peak 3 dB under the wave, the true peak finds
// it. (Faded in and out: a tone that starts at full swing overshoots.)
TEST(SoundforgeLoudness, TruePeakFindsTheCrestBetweenSamples) {
  const int rate = 44100, fade = 2000;
  std::vector<float> l(rate), r(rate, 0.0f);
  for (int i = 0; i < rate; i++) {
    double edge = std::min(1.0, std::min(i, rate - 1 - i) / (double)fade);
    l[i] = 0.5f * (float)((0.5 - 0.5 * std::cos(kPi * edge)) * std::sin(kPi / 2 * i + kPi / 4));
  }
  float samplePeak = *std::max_element(l.begin(), l.end());
  EXPECT_NEAR(toDb(samplePeak), toDb(0.5) - 3.01, 0.01);
  EXPECT_NEAR(toDb(truePeak(l, r)), toDb(0.5), 0.05);
  EXPECT_NEAR(toDb(truePeak(r, l)), toDb(0.5), 0.05);  // either channel
}

TEST(SoundforgeLimiter, HoldsTheCeilingWithRampsAheadOfThePeaks) {
  const int lookahead = 50;
  const float ceiling = 0.5f;
  std::vector<float> peak(2000, 0.2f);
  peak[600] = 2.0f;   // needs a quarter
  peak[1400] = 0.8f;  // needs 0.625
  std::vector<float> gain = limiterGain(peak, ceiling, lookahead, 100.0);
  ASSERT_EQ(gain.size(), peak.size());
  for (size_t i = 0; i < peak.size(); i++) {
    EXPECT_LE(peak[i] * gain[i], ceiling * 1.000001f) << i;
    EXPECT_GT(gain[i], 0.0f);
  }
  EXPECT_NEAR(gain[600], 0.25f, 1e-6);
  EXPECT_EQ(gain[600 - lookahead], 1.0f);  // untouched before the look-ahead
  for (int i = 600 - lookahead + 1; i <= 600; i++) EXPECT_LE(gain[i - 1] - gain[i], 0.75f / lookahead + 1e-6f) << i;
  EXPECT_GT(gain[700], gain[650]);         // recovering
  EXPECT_LT(gain[700], 0.99f);             // but not at once
  EXPECT_GT(gain[1300], 0.99f);            // and fully between the peaks
  EXPECT_NEAR(gain[1400], 0.625f, 1e-6);
  EXPECT_FLOAT_EQ(gain[0], 1.0f);
}

// The master's promise on a small mix: the loudness target met, the true
// peak under the ceiling (the spikes held, not the mix turned down to fit
// them), silence after the fade.
TEST(SoundforgeMaster, ReachesTheLoudnessUnderTheCeilingAndFades) {
  const int rate = 44100;
  Bus bus = makeBus(rate, 12.0);
  for (size_t i = 0; i < bus.left.size(); i++) {
    double t = (double)i / rate;
    bus.left[i] = 0.05f * (float)std::sin(2 * kPi * 220 * t);
    bus.right[i] = 0.05f * (float)std::sin(2 * kPi * 330 * t);
  }
  for (double t = 0.5; t < 9; t += 0.5) bus.left[(size_t)(t * rate)] += 0.9f;  // clicks 25 dB over the tones
  Mastered m = masterMix(bus, 9.0, 10.0, -14.0, -2.0);
  ASSERT_EQ(m.pcm.size(), 2 * bus.left.size());
  std::vector<float> l(bus.left.size()), r(bus.left.size());
  for (size_t i = 0; i < l.size(); i++) {
    l[i] = m.pcm[2 * i] / 32767.0f;
    r[i] = m.pcm[2 * i + 1] / 32767.0f;
  }
  EXPECT_NEAR(integratedLoudness(l, r, rate), -14.0, 0.1);
  EXPECT_NEAR(m.lufs, -14.0, 0.1);
  EXPECT_LT(toDb(truePeak(l, r)), -1.95);
  EXPECT_LT(m.reductionDb, -10.0);
  for (size_t i = 2 * 10 * rate; i < m.pcm.size(); i++) ASSERT_EQ(m.pcm[i], 0) << i;
}

namespace {

// The soundtrack as the show plays it, decoded once for the tests below.
struct Decoded {
  std::vector<int16_t> pcm;
  std::vector<float> left, right;
  std::string log;
};

const Decoded& decodedSoundtrack() {
  static const Decoded d = [] {
    Decoded out;
    std::string path = std::string(TORVANEL_SOURCE_DIR) + "/Resources/music/Velmora.mp3";
    testing::internal::CaptureStdout();
    decodeSoundtrack(path.c_str(), &out.pcm);
    out.log = testing::internal::GetCapturedStdout();
    for (size_t i = 0; i + 1 < out.pcm.size(); i += 2) {
      out.left.push_back(out.pcm[i] / 32768.0f);
      out.right.push_back(out.pcm[i + 1] / 32768.0f);
    }
    return out;
  }();
  return d;
}

}  // namespace

// Decoded: full length, stereo at 44.1 kHz, as loud as a finished record and
// no louder, moving between quiet and loud, nothing clipped.
TEST(SoundforgeOutput, Mp3DecodesToAFullLengthRecordAtTheLoudnessTarget) {
  const Decoded& d = decodedSoundtrack();
  ASSERT_FALSE(d.pcm.empty()) << d.log;
  const size_t frames = d.left.size();
  EXPECT_GE(frames, 315u * 44100u);
  EXPECT_LT(frames, 317u * 44100u);
  int fullScale = 0;
  for (int16_t v : d.pcm) fullScale += v <= -32767 || v >= 32767;
  double lufs = integratedLoudness(d.left, d.right, 44100), peak = toDb(truePeak(d.left, d.right));
  EXPECT_GT(lufs, -15.0);
  EXPECT_LT(lufs, -13.0);
  EXPECT_GE(loudnessRange(shortTermLoudness(d.left, d.right, 44100)), 9.0);
  EXPECT_LT(peak, -1.0);
  EXPECT_EQ(fullScale, 0);
}

// The shape a listener follows, in raw seconds: the breaks well under the
// record's loudness, the fast stretch above it, and the last chord rung out
// to silence before the picture ends at 278.569.
TEST(SoundforgeOutput, BreaksClimaxAndEndingWhereThePictureHasThem) {
  const Decoded& d = decodedSoundtrack();
  ASSERT_FALSE(d.pcm.empty()) << d.log;
  const double lufs = integratedLoudness(d.left, d.right, 44100);
  const std::vector<double> shortTerm = shortTermLoudness(d.left, d.right, 44100);
  auto windowFrom = [&](double t) { return shortTerm.at((size_t)std::lround(t * 10)); };
  for (double quiet : {1.0, 93.0, 164.0, 240.0}) EXPECT_LT(windowFrom(quiet), lufs - 8.0) << "break at " << quiet << " s";
  for (double loud = 181.0; loud < 200.0; loud += 3.0) EXPECT_GT(windowFrom(loud), lufs + 2.0) << "climax at " << loud << " s";
  double energy = 0;
  const size_t from = (size_t)(278.1 * 44100), to = (size_t)(278.569 * 44100);
  for (size_t i = from; i < to; i++) energy += d.left[i] * d.left[i] + d.right[i] * d.right[i];
  double rmsDb = 10 * std::log10(energy / (2.0 * (double)(to - from)) + 1e-30);
  EXPECT_LT(rmsDb, lufs - 30.0);
}

// Where a new act or a new tempo starts, so does a note, within 10 ms of the
// picture (the decoder trims the encoder's delay; a slip in the time map or
// the encoding would show here). An onset is the sharpest rise of the
// signal's slope energy against the 25 ms before it.
TEST(SoundforgeOutput, BeatsLandOnTheActAndTempoChanges) {
  const Decoded& d = decodedSoundtrack();
  ASSERT_FALSE(d.pcm.empty()) << d.log;
  const int rate = 44100, hop = 22, width = 88;
  std::vector<double> slope(d.left.size(), 0.0);
  for (size_t i = 1; i < slope.size(); i++) {
    double a = d.left[i] - d.left[i - 1], b = d.right[i] - d.right[i - 1];
    slope[i] = a * a + b * b;
  }
  auto energy = [&](long from) {
    double e = 0;
    for (long i = std::max(0L, from); i < from + width; i++) e += slope[(size_t)i];
    return e;
  };
  auto onsetNear = [&](double t) {
    long centre = std::lround(t * rate), best = centre;
    double bestRise = -1;
    for (long k = centre - rate * 40 / 1000; k <= centre + rate * 40 / 1000; k += hop) {
      double before = 0;
      for (long j = k - rate * 25 / 1000; j < k - width; j += hop) before += energy(j);
      double rise = energy(k) / (before / ((rate * 25 / 1000 - width) / hop) + 1e-9);
      if (rise > bestRise) {
        bestRise = rise;
        best = k;
      }
    }
    return (double)best / rate;
  };
  // The segments' first beats (the last segment lies past the end) and the act changes between them.
  for (double t : {0.0, 11.984, 75.984, 123.984, 125.984, 147.896, 151.896, 171.896, 179.802, 203.817, 235.817, 267.817})
    EXPECT_NEAR(onsetNear(t), t, 0.010) << "no onset at raw " << t << " s";
}

TEST(SoundforgeOutput, TwoRunsGiveIdenticalBytes) {
  // A shortened render keeps the test quick; it runs every voice but the late ones.
  std::string files[2];
  for (int run = 0; run < 2; run++) {
    std::string dir = std::string(SOUNDFORGE_SCRATCH) + "/run" + std::to_string(run);
    std::filesystem::remove_all(dir);
    std::string cmd = std::string("\"") + SOUNDFORGE_EXE + "\" --seconds 45 --out \"" + dir + "\" > /dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    files[run] = readAll(dir + "/music/Velmora.mp3");
  }
  ASSERT_GT(files[0].size(), 45u * 192000 / 8 * 9 / 10);
  EXPECT_TRUE(files[0] == files[1]);
}
