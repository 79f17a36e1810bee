#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "master.h"
#include "score.h"
#include "timeline.h"

namespace {

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
}

TEST(SoundforgeTimeline, SegmentsCoverRawTimeWithoutGaps) {
  const std::vector<Segment>& s = showSegments();
  ASSERT_EQ(s.size(), 11u);
  EXPECT_EQ(s.front().raw0, 0.0);
  for (size_t i = 1; i < s.size(); i++) EXPECT_EQ(s[i].raw0, s[i - 1].raw1) << i;
  EXPECT_NEAR(s.back().raw1, 314.86, 1e-9);
}

TEST(SoundforgeScore, PulseOnEverySceneSecondWhileTheBandPlays) {
  std::vector<Note> score = composeScore();
  for (const Note& n : score) {
    EXPECT_GE(n.at, 0.0);
    EXPECT_LT(n.at, 300.0);
  }
  for (int t = 13; t < 89; t++) {
    bool kick = false;
    for (const Note& n : at(score, t)) kick |= n.voice == Voice::Kick;
    EXPECT_TRUE(kick) << "no kick at scene second " << t;
  }
}

TEST(SoundforgeMaster, NormalisesPeakAndFadesToSilence) {
  Bus bus = makeBus(1000, 4.0);
  bus.left[100] = 3.0f;
  bus.right[2500] = -0.5f;
  bus.left[3900] = 5.0f;  // after the fade: must vanish
  std::vector<int16_t> pcm = masterMix(bus, 2.0, 3.0, -1.0);
  ASSERT_EQ(pcm.size(), 8000u);
  int peak = 0;
  for (int16_t v : pcm) peak = std::max(peak, std::abs((int)v));
  EXPECT_NEAR(peak, 32767 * std::pow(10.0, -0.05), 2.0);
  for (size_t i = 2 * 3000; i < pcm.size(); i++) EXPECT_EQ(pcm[i], 0) << i;
}

TEST(SoundforgeOutput, Mp3DecodesToFullLengthStereoBelowFullScale) {
  std::string path = std::string(TORVANEL_SOURCE_DIR) + "/Resources/music/Velmora.mp3";
  mpg123_init();
  int err = 0;
  mpg123_handle* mh = mpg123_new(nullptr, &err);
  ASSERT_NE(mh, nullptr);
  ASSERT_EQ(mpg123_open(mh, path.c_str()), MPG123_OK) << path;
  long rate = 0;
  int channels = 0, encoding = 0;
  ASSERT_EQ(mpg123_getformat(mh, &rate, &channels, &encoding), MPG123_OK);
  EXPECT_EQ(rate, 44100);
  EXPECT_EQ(channels, 2);
  ASSERT_EQ(encoding, MPG123_ENC_SIGNED_16);
  std::vector<unsigned char> buf(1 << 16);
  size_t frames = 0, done = 0;
  int peak = 0;
  double bodyEnergy = 0, tailEnergy = 0;
  while (mpg123_read(mh, buf.data(), buf.size(), &done) == MPG123_OK || done > 0) {
    const int16_t* s = reinterpret_cast<const int16_t*>(buf.data());
    for (size_t i = 0; i + 1 < done / 2; i += 2, frames++) {
      peak = std::max({peak, std::abs((int)s[i]), std::abs((int)s[i + 1])});
      double e = (double)s[i] * s[i];
      if (frames >= 20 * 44100u && frames < 260 * 44100u) bodyEnergy += e;
      if (frames >= 315 * 44100u) tailEnergy += e;
    }
    if (done == 0) break;
  }
  mpg123_close(mh);
  mpg123_delete(mh);
  EXPECT_GE(frames, 315u * 44100u);
  EXPECT_LT(peak, 32767);
  EXPECT_GT(std::sqrt(bodyEnergy / (240.0 * 44100)), 1000.0);  // music, not near silence
  EXPECT_LT(std::sqrt(tailEnergy / 44100.0), 30.0);            // faded out by 315 s
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
