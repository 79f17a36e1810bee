// time_map.h - raw show time to scene time, one entry per millisecond.
//
// The show is written in scene time; the map stretches, squeezes and replays
// stretches of it against the music. Flags mark the replayed stretches (1)
// and the slowed opening (5).
#pragma once

constexpr int TIME_MAP_REPLAYED = 1;  // the flag of a replayed stretch

struct TimeMap {
    static constexpr int SECONDS = 1000;
    static constexpr int ENTRIES = SECONDS * 1000;

    int seconds = SECONDS;
    float sceneTime[ENTRIES];
    int flags[ENTRIES];
    float cursor = 0;      // raw time where the next segment starts
    int segmentFlag = 0;   // written by the next segment
    float filledTempo = 0; // tempo of the last fill; 0 before the first

    TimeMap();  // identity: scene time = raw time, flags 0

    // Writes one segment from raw a to b, scene s0 to s1, with segmentFlag.
    void fillSegment(float a, float b, float s0, float s1);
};

// Rewrites the show's eleven segments from raw time 0. The table depends on
// the tempo only, so an unchanged tempo leaves the identical table in place.
void fillShowTimeMap(TimeMap& map, float tempo);

// Entry index for a raw time: trunc(t * 1000), clamped to the table.
int timeMapIndex(const TimeMap& map, float rawTime);

// The show's map at tempo 1, filled once on first use: what a running show's
// map holds every frame, for questions asked outside a frame (where an act
// starts, where the show ends).
const TimeMap& showTimeMap();
