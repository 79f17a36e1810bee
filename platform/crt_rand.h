// crt_rand.h - the process-wide pseudo-random generator every fixed layout uses.
//
// It reproduces the Microsoft C runtime's linear congruential rand(), so the
// shattered sprites, the scene layouts and the scrambled shader copies come out
// the same on every platform. glibc's rand() must never drive a layout.
//
//   crtSrand(seed);      // state = seed
//   int r = crtRand();   // 0 .. CRT_RAND_MAX
#pragma once
#include <cstdint>

constexpr int CRT_RAND_MAX = 32767;

void crtSrand(uint32_t seed);
int crtRand();
// The state after `count` calls of crtRand, in O(log count) steps: fixed
// layouts drop thousands of values per element every frame.
void crtDiscard(uint64_t count);
// The generator's state: what the next crtRand continues from. The draw
// trace records it after each scene group, so a test can name the first
// group whose draws moved the sequence.
uint32_t crtState();
