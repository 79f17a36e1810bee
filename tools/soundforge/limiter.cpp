#include "limiter.h"

#include <cmath>
#include <deque>

std::vector<float> limiterGain(const std::vector<float>& peak, float ceiling, int lookahead, double release) {
  const size_t n = peak.size(), span = (size_t)(lookahead > 1 ? lookahead : 1);
  std::vector<double> need(n);
  for (size_t i = 0; i < n; i++) need[i] = peak[i] > ceiling ? (double)ceiling / peak[i] : 1.0;

  // The lowest gain needed anywhere in the next `span` samples...
  std::vector<double> ahead(n);
  std::deque<size_t> window;  // indices of increasing need
  for (size_t j = n; j-- > 0;) {
    while (!window.empty() && need[window.back()] >= need[j]) window.pop_back();
    window.push_back(j);
    if (window.front() >= j + span) window.pop_front();
    ahead[j] = need[window.front()];
  }
  // ...averaged over the last `span` samples: every term already covers the
  // peak at i, so the average cannot exceed what i needs, and it falls in a
  // straight line as a peak approaches.
  std::vector<float> gain(n);
  const double recover = 1.0 - std::exp(-1.0 / release);
  double sum = (double)span, held = 1.0;  // before the start the gain is 1
  for (size_t i = 0; i < n; i++) {
    sum += ahead[i] - (i >= span ? ahead[i - span] : 1.0);
    double g = std::fmin(sum / (double)span, need[i]);  // the min only absorbs rounding
    held = std::fmin(g, held + (1.0 - held) * recover);
    gain[i] = (float)held;
  }
  return gain;
}
