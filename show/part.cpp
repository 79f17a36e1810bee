#include "show/part.h"

Part::~Part() = default;

int scheduledPart(float showClock, int activePart) {
    if (showClock >= 0.0f && showClock < 28000.0f) return 0;
    return activePart;
}
