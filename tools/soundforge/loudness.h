// Loudness and true peak of a stereo signal, measured the broadcast way
// (ITU-R BS.1770): K-weighted mean square over 400 ms blocks every 100 ms,
// blocks gated at -70 LUFS and then at 10 LU below their own mean; true peak
// from the signal interpolated to four times its rate.
//
//   double lufs = integratedLoudness(left, right, 44100);
//   double dbtp = toDb(truePeak(left, right));
#pragma once
#include <vector>

struct Biquad {
  double b0, b1, b2, a1, a2;  // a0 is 1
};

// The two stages of the K-weighting at a sample rate: the head's high shelf,
// then the low cut.
Biquad kShelf(double rate);
Biquad kHighPass(double rate);

// LUFS; -inf (as -HUGE_VAL) when no block passes the gates.
double integratedLoudness(const std::vector<float>& left, const std::vector<float>& right, int rate);

// Short-term loudness, LUFS: entry i is the 3 s window starting i tenths of a
// second in (-inf for silence). What a meter's moving needle shows.
std::vector<double> shortTermLoudness(const std::vector<float>& left, const std::vector<float>& right, int rate);
// How far the music moves (EBU Tech 3342), LU: from the 10th to the 95th
// percentile of the short-term values, after gating out silence (-70 LUFS)
// and what lies 20 LU under their mean.
double loudnessRange(const std::vector<double>& shortTerm);

// Per sample, the largest magnitude the band-limited signal reaches between
// the previous sample and this one (both included).
std::vector<float> truePeakEnvelope(const std::vector<float>& x);
// The largest of either channel's envelope, linear.
float truePeak(const std::vector<float>& left, const std::vector<float>& right);

double toDb(double linear);
