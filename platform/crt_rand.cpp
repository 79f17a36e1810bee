#include "platform/crt_rand.h"

// One state for the whole process, as the C runtime has: callers interleave
// srand/rand across modules and rely on the shared sequence. Main thread only.
static uint32_t g_randState = 1;

void crtSrand(uint32_t seed) { g_randState = seed; }

uint32_t crtState() { return g_randState; }

int crtRand() {
    g_randState = g_randState * 214013u + 2531011u;
    return static_cast<int>((g_randState >> 16) & 0x7fff);
}

void crtDiscard(uint64_t count) {
    // n steps of x' = a x + c compose to x' = A x + C; square the one-step
    // map for each bit of n, as in fast exponentiation (all mod 2^32).
    uint32_t stepMul = 214013u, stepAdd = 2531011u;
    uint32_t mul = 1, add = 0;
    while (count) {
        if (count & 1) {
            mul *= stepMul;
            add = add * stepMul + stepAdd;
        }
        stepAdd = (stepMul + 1) * stepAdd;
        stepMul *= stepMul;
        count >>= 1;
    }
    g_randState = g_randState * mul + add;
}
