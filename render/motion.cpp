#include "render/motion.h"

#include <climits>
#include <cmath>

#include "platform/crt_rand.h"
#include "render/pi.h"

int trunc32(double x) {
    if (x > -2147483649.0 && x < 2147483648.0) return static_cast<int>(x);
    return INT_MIN;
}

double ease(double x, double p) {
    x = x < 0 ? 0 : (x > 1 ? 1 : x);
    double e = 1.0 - std::pow((std::cos(PI_TEN_PLACES * x) + 1.0) / 2.0, (p - 1.0) / 2.0 + 1.0);
    return std::pow(e, p);
}

double hop(double t, double phase) {
    double s = std::sin(2.0 * PI_SEVEN_PLACES * t - phase);
    return s > 0 ? s * s : 0.0;
}

double swing(double a) {
    double s = std::sin(a);
    return s > -0.5 ? s : -0.5;
}

double rnd() { return crtRand() / 32767.0; }

void discard(int n) {
    if (n > 0) crtDiscard(static_cast<uint64_t>(n));
}

void fixedLayout(unsigned seed, int n) {
    crtSrand(seed);
    discard(n);
}

int signedParity(int i) { return i % 2; }
