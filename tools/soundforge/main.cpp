// torvanel-soundforge: synthesises the show's soundtrack into
// <out>/music/Velmora.mp3 and, on request, pictures of it (its waveform and
// spectrogram; its short-term loudness). --seconds cuts it short (with its
// fade moved up), for quick checks.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "encode.h"
#include "loudness.h"
#include "master.h"
#include "picture.h"
#include "score.h"
#include "timeline.h"

// A record's loudness, -14 LUFS as the mp3 decodes (the encoder's low-pass
// takes about a quarter of a LU), with the peaks held far enough below full
// scale that the encoder's overshoot stays under -1 dBTP.
const double kLoudnessLufs = -13.7, kCeilingDbtp = -2.0;

int main(int argc, char** argv) {
  std::string out = "Resources", picture, loudness;
  double seconds = 316.0;  // a little past the time map's last raw second
  for (int i = 1; i < argc; i++) {
    if (!std::strcmp(argv[i], "--out") && i + 1 < argc) out = argv[++i];
    else if (!std::strcmp(argv[i], "--picture") && i + 1 < argc) picture = argv[++i];
    else if (!std::strcmp(argv[i], "--loudness") && i + 1 < argc) loudness = argv[++i];
    else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) seconds = std::atof(argv[++i]);
    else {
      std::fprintf(stderr, "usage: torvanel-soundforge [--out DIR] [--picture FILE.png] [--loudness FILE.png] [--seconds S]\n");
      return 2;
    }
  }
  std::clock_t cpu0 = std::clock();
  const int rate = 44100;
  if (!(seconds >= 12.0 && seconds <= 400.0)) {
    std::fprintf(stderr, "soundforge: --seconds wants a length from 12 to 400\n");
    return 2;
  }
  std::vector<Note> notes = placeOnRawTime(composeScore(), showSegments());
  Bus bus = makeBus(rate, seconds);
  for (size_t i = 0; i < notes.size(); i++) renderNote(bus, notes[i], (uint32_t)i);
  Mastered master = masterMix(bus, seconds - 11.0, seconds - 1.2, kLoudnessLufs, kCeilingDbtp);
  const std::vector<int16_t>& pcm = master.pcm;
  double synthCpu = (double)(std::clock() - cpu0) / CLOCKS_PER_SEC;
  auto t1 = std::chrono::steady_clock::now();

  std::error_code ec;
  std::filesystem::create_directories(out + "/music", ec);
  std::string mp3 = out + "/music/Velmora.mp3";
  if (!writeMp3(pcm, mp3)) return 1;
  auto t2 = std::chrono::steady_clock::now();
  // Processor time for synthesis: wall time on a busy build machine says little.
  std::printf("soundforge: %zu notes, %.1f LUFS, range %.1f LU (limiter down to %.1f dB), synthesis and master "
              "%.2f s cpu, encoding %.2f s wall -> %s\n",
              notes.size(), master.lufs, loudnessRange(master.shortTerm), master.reductionDb, synthCpu, std::chrono::duration<double>(t2 - t1).count(),
              mp3.c_str());

  std::vector<double> marks;
  for (const Segment& s : showSegments()) marks.push_back(s.raw0);
  if (!picture.empty()) {
    if (!writeSoundPicture(pcm, rate, marks, picture)) return 1;
    std::printf("soundforge: picture -> %s\n", picture.c_str());
  }
  if (!loudness.empty()) {
    if (!writeLoudnessPicture({master.shortTerm}, marks, loudness)) return 1;
    std::printf("soundforge: loudness curve -> %s\n", loudness.c_str());
  }
  return 0;
}
