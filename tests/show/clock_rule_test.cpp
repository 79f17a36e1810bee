#include "show/clips_clock.h"

#include <gtest/gtest.h>

#include "show/live_inputs.h"
#include "show/part_clips.h"

namespace {

// A control-change message as the MIDI thread delivers it.
void controlChange(NanoKONTROL2& surface, int cc, int value) {
    surface.handle_midi(MIM_DATA, 0xB0u | (static_cast<uint32_t>(cc) << 8) | (static_cast<uint32_t>(value) << 16), 0);
}

struct ClockRule : ::testing::Test {
    void SetUp() override {
        live.controls = &surface;
        live._kz = -1.0f;
        live.frameTime = 0.02f;
    }
    MyNanoKONTROL2 surface;
    LiveInputs live;
};

TEST_F(ClockRule, AdvancesByFrameTimeUnlessPaused) {
    EXPECT_FLOAT_EQ(advanceRawTime(10.0f, 120.0f, live), 10.02f);
    live._kz = 0.0f;  // the speed tweak: 4 times
    EXPECT_FLOAT_EQ(advanceRawTime(10.0f, 120.0f, live), 10.08f);
    live._kz = -1.0f;

    controlChange(surface, NANO_KONTROL2_BUTTON_FOWARD, 127);  // first press latches the pause
    controlChange(surface, NANO_KONTROL2_BUTTON_FOWARD, 0);
    EXPECT_FLOAT_EQ(advanceRawTime(10.0f, 120.0f, live), 10.0f);
    controlChange(surface, NANO_KONTROL2_BUTTON_FOWARD, 127);  // next press releases it
    controlChange(surface, NANO_KONTROL2_BUTTON_FOWARD, 0);
    EXPECT_FLOAT_EQ(advanceRawTime(10.0f, 120.0f, live), 10.02f);
}

TEST_F(ClockRule, NudgesJumpAndMark) {
    live.frameTime = 0.0f;
    controlChange(surface, NANO_KONTROL2_BUTTON_TRACK_FOWARD, 127);
    EXPECT_FLOAT_EQ(advanceRawTime(5.0f, 120.0f, live), 5.002f);
    controlChange(surface, NANO_KONTROL2_BUTTON_TRACK_FOWARD, 0);
    controlChange(surface, NANO_KONTROL2_BUTTON_TRACK_BACK, 127);
    EXPECT_FLOAT_EQ(advanceRawTime(5.0f, 120.0f, live), 4.998f);
    controlChange(surface, NANO_KONTROL2_BUTTON_TRACK_BACK, 0);

    // REC stores the time in knob 6; BACK jumps to knob 6 x 2.4.
    controlChange(surface, NANO_KONTROL2_BUTTON_REC, 127);
    advanceRawTime(120.0f, 120.0f, live);
    EXPECT_FLOAT_EQ(surface.value(NANO_KONTROL2_ROTARY_KNOB_6), 50.0f);
    controlChange(surface, NANO_KONTROL2_BUTTON_REC, 0);
    controlChange(surface, NANO_KONTROL2_BUTTON_BACK, 127);
    EXPECT_FLOAT_EQ(advanceRawTime(7.0f, 120.0f, live), 120.0f);
    controlChange(surface, NANO_KONTROL2_ROTARY_KNOB_6, 127);
    EXPECT_NEAR(advanceRawTime(7.0f, 120.0f, live), 304.8f, 0.001f);
}

TEST_F(ClockRule, AKeyReturnsToTheOpening) {
    live.keys[4] = true;
    EXPECT_FLOAT_EQ(advanceRawTime(150.0f, 120.0f, live), -100.0f);
}

TEST_F(ClockRule, RunsWithoutAControlSurface) {
    live.controls = nullptr;
    EXPECT_FLOAT_EQ(advanceRawTime(1.0f, 120.0f, live), 1.02f);
}

TEST(ClipsAdvance, FirstFrameBeforeAnyFillIsIdentityThenTheMapApplies) {
    LiveInputs live;
    Part_Clips* clips = newZeroedPart<Part_Clips>();
    clips->live = &live;
    live._kz = -1.0f;
    live.keys[4] = true;  // A held
    clips->update();
    EXPECT_FLOAT_EQ(clips->sceneTime, 0.0f);
    EXPECT_EQ(clips->timeFlag, 0);
    EXPECT_FLOAT_EQ(clips->rawTime, -100.0f);

    fillShowTimeMap(clips->timeMap, clips->tempo);
    clips->update();
    EXPECT_FLOAT_EQ(clips->sceneTime, 0.0005f);
    EXPECT_FLOAT_EQ(clips->time, -100.0f);  // the raw time, which the music follows
    EXPECT_EQ(clips->timeFlag, 5);
    clips->~Part_Clips();
    free(clips);
}

}  // namespace
