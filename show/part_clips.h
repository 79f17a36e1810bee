// part_clips.h - the part that holds the whole show: its clock, the time map
// from raw to scene time, and the frame.
#pragma once
#include "show/part.h"
#include "timing/time_map.h"

// The scene time at which the show ends the process.
constexpr float SHOW_END_SCENE_TIME = 273.0f;

class Part_Clips : public Part {
public:
    void draw() override;
    void update() override;  // the clock rule, then raw time to scene time
    ~Part_Clips() override;
    void init() override;

    TimeMap timeMap;
    float tempo = 1.0f;
    float rawTime = 0;
    float fttime = 0;  // the raw time as the shaders see it
    int timeFlag = 0;  // flag of the time map at the current time
    int frameCount = 0;
};

// The clock rule on a raw time: pause, nudges, jump and mark from the control
// surface, the A key back to the opening. Returns the new raw time.
struct LiveInputs;
float advanceRawTime(float time, float rate, LiveInputs& live);
