// chain.h - the chain of the ascent (225 to 237.7 s): links made of a striped
// strand that ends in a ringed eye, strung into braids and waves.
//
//   setChainScroll(trunc32(8 * s) * 0.125);  // once a frame, before the links
//   Vec3 at = {0, 0, 0}, along = {1, 0, 0};
//   int links = 0;
//   drawChainLink(t, -0.472, 0, at, along, links);
//
// Links draw with no program and whatever texture is bound (the chain's
// pattern), at the show time t. The program counts every link it ever draws;
// from 251 s that count decides when each link drops away. In this show the
// drop never fires: the chain is drawn only up to about 237.7 s. It is kept
// as the chain's own rule, not as a live feature.
#pragma once
#include <cstdint>

#include "render/math.h"

// Where along the strands the pattern starts; kept for the program's life.
void setChainScroll(double scroll);

// How far link number `link` (of the program's life) has dropped at time t:
// 0 before 251 s; then -0.12 d^2 for the time d since its own moment,
// 251 s + 1.54 sin(122 link).
double chainLinkDrop(double t, uint64_t link);

// One link from `position` along `direction` (a unit vector): a strand of 20
// steps of 0.05 * lengthFactor (none for 0) in four stripes, then its eye.
// Moves `position` to the strand's end, turns `direction` by `bend` degrees
// about z and counts the link in `linkCounter`, whose parity staggers depth.
void drawChainLink(float t, double lengthFactor, double bend, Vec3& position, Vec3& direction, int& linkCounter);

// Seven links from the origin, the first along the x axis turned by `angle`
// degrees: each one shakes the matrix a little more and bends by the sine
// of a phase that steps back by a random amount (from the generator's
// running state) before each link; `amplitude` is the largest bend and k0
// bends the whole braid.
void drawBraid(float t, double angle, double phase, double amplitude, float k0);

// Four links from the origin at a fixed bend, the first along the x axis
// turned by `angle` degrees; each drops one value of the generator first.
void drawWave(float t, double angle);
