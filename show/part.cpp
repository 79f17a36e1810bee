#include "show/part.h"

Part::~Part() = default;

// A plain table, never destroyed: the show makes two parts, tests a few more.
static void* keptParts[64];
static int keptPartCount = 0;

void keepForProcessLifetime(void* memory) {
    if (keptPartCount < 64) keptParts[keptPartCount++] = memory;
}

int scheduledPart(float showClock, int activePart) {
    if (showClock >= 0.0f && showClock < 28000.0f) return 0;
    return activePart;
}
