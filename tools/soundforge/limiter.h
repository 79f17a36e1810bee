// A look-ahead peak limiter as a gain curve: the master multiplies both
// channels by it, so the stereo image stays put while the peaks are held.
#pragma once
#include <vector>

// gain[i] in (0, 1] with peak[i] * gain[i] <= ceiling for every i. Before
// each peak the gain ramps down in straight lines over `lookahead` samples,
// after it recovers toward 1 with time constant `release` samples.
std::vector<float> limiterGain(const std::vector<float>& peak, float ceiling, int lookahead, double release);
