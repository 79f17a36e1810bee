#include "platform/crt_rand.h"

// One state for the whole process, as the C runtime has: callers interleave
// srand/rand across modules and rely on the shared sequence. Main thread only.
static uint32_t g_randState = 1;

void crtSrand(uint32_t seed) { g_randState = seed; }

int crtRand() {
    g_randState = g_randState * 214013u + 2531011u;
    return static_cast<int>((g_randState >> 16) & 0x7fff);
}
