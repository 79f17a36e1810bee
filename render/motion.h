// motion.h - the words every movement in the show is built from.
//
// The show moves in stop-motion steps: stepped time, eased ramps, bounces and
// swings, and fixed random layouts from the process-wide generator. All of it
// is computed in double precision from the single-precision scene time.
//
//   double q = trunc32(t * 8) * 0.125;      // eight steps a second
//   fixedLayout(14234, i + 3502);           // element i's own random values
//   double u = rnd();                       // then drawn in order
#pragma once

// Toward zero into a 32-bit int; a value outside the int range (or NaN)
// gives the lowest int, as the show's conversions always have.
int trunc32(double x);

// Clamped to [0, 1], then 1 - ((cos(pi x) + 1) / 2)^((p - 1) / 2 + 1), raised
// to p. With p = 1 it is (1 - cos(pi x)) / 2: 0 up to x = 0, 1 from x = 1.
double ease(double x, double p = 1.0);

// max(0, sin(2 pi t - phase))^2: one rounded bounce a second, resting half
// of each second.
double hop(double t, double phase = 1.086);

// sin(a), held at -0.5 below: a tool rotated by (base - 60 swing(a)) rests
// at its low point and strikes once a cycle.
double swing(double a);

// The next value of the process-wide generator as rand() / 32767.
double rnd();

// Calls the generator n times and drops the results.
void discard(int n);

// srand(seed), then n values dropped: the start of a fixed random layout.
void fixedLayout(unsigned seed, int n);

// i's remainder by 2 with the sign of i: -1, 0 or 1.
int signedParity(int i);
