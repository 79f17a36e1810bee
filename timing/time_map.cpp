#include "timing/time_map.h"

#include <cstdlib>

TimeMap::TimeMap() {
    for (int i = 0; i < ENTRIES; ++i) {
        sceneTime[i] = static_cast<float>(i) / 1000.0f;
        flags[i] = 0;
    }
}

void TimeMap::fillSegment(float a, float b, float s0, float s1) {
    int i0 = static_cast<int>(a * 1000.0f);
    int i1 = static_cast<int>(b * 1000.0f);
    float n = static_cast<float>(std::abs(i1 - i0 + 1));
    int base = i0 < i1 ? i0 : i1;
    int end = i0 < i1 ? i1 : i0;
    // A segment reaching outside the table writes the part that fits.
    int from = base < 0 ? 0 : base;
    if (end > seconds * 1000) end = seconds * 1000;
    for (int i = from; i < end; ++i) {
        sceneTime[i] = static_cast<float>(i - base) / n * (s1 - s0) + s0 + 0.0005f;
        flags[i] = segmentFlag;
    }
}

struct Segment { float length; float s0, s1; int flag; };

void fillShowTimeMap(TimeMap& map, float tempo) {
    if (map.filledTempo == tempo) return;
    // Lengths in single precision, as the show was timed with them.
    const Segment segments[] = {
        {9.0f / (tempo * 0.751f), 0, 9, 5},
        {114.0f / tempo, 9, 123, 0},
        {22.0f / (tempo * 1.004f), 123, 145, 0},
        {4.0f / tempo, 141, 145, 1},
        {20.0f / tempo, 149, 169, 0},
        {8.0f / (tempo * 1.012f), 169, 177, 0},
        {32.0f / (tempo * 1.3325f), 177, 209, 0},
        {32.0f / tempo, 209, 241, 0},
        {32.0f / tempo, 233, 265, 1},
        {8.0f / (tempo * 0.744f), 265, 273, 0},
        {27.0f / (tempo * 0.744f), 273, 300, 0},
    };
    map.cursor = 0;
    for (const Segment& s : segments) {
        map.segmentFlag = s.flag;
        float end = map.cursor + s.length;
        map.fillSegment(map.cursor, end, s.s0, s.s1);
        map.cursor = end;
    }
    map.filledTempo = tempo;
}

int timeMapIndex(const TimeMap& map, float rawTime) {
    float scaled = rawTime * 1000.0f;
    int last = map.seconds * 1000 - 1;
    if (!(scaled > 0.0f)) return 0;  // negative or NaN: the opening
    if (scaled >= static_cast<float>(last)) return last;
    return static_cast<int>(scaled);
}

const TimeMap& showTimeMap() {
    static const TimeMap* map = [] {
        TimeMap* filled = new TimeMap();  // kept for the process's life
        fillShowTimeMap(*filled, 1.0f);
        return filled;
    }();
    return *map;
}
