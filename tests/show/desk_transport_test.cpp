// The maker's transport on the clock: one pause shared with the control
// surface, frame steps, clamped seeks, act jumps, the loop and the bookmarks,
// and the desk file that keeps them.
#include "show/desk_transport.h"

#include <gtest/gtest.h>

#include "show/clips_clock.h"
#include "show/live_inputs.h"
#include "show/scene_timeline.h"
#include "timing/time_map.h"

namespace {

void controlChange(NanoKONTROL2& surface, int cc, int value) {
    surface.handle_midi(MIM_DATA, 0xB0u | (static_cast<uint32_t>(cc) << 8) | (static_cast<uint32_t>(value) << 16), 0);
}

struct Transport : ::testing::Test {
    void SetUp() override {
        live.controls = &surface;
        live.desk = &desk;
        live._kz = -1.0f;
        live.frameTime = 0.02f;
    }
    // One frame of the clock: the rule, then the desk's commands.
    float frame(float raw, std::vector<DeskCommand> commands = {}) {
        live.deskCommands = commands;
        raw = advanceRawTime(raw, 120.0f, live);
        return runDeskCommands(desk, live.deskCommands, raw, live.controls);
    }
    MyNanoKONTROL2 surface;
    LiveInputs live;
    DeskTransport desk;
};

TEST_F(Transport, KeyboardAndSurfaceShareOnePause) {
    EXPECT_FLOAT_EQ(frame(10, {{DESK_PAUSE}}), 10.02f);  // the pause holds from the next frame
    EXPECT_TRUE(deskPaused(&surface));
    EXPECT_FLOAT_EQ(frame(10), 10.0f);
    // The surface's next press releases a pause the keyboard latched...
    controlChange(surface, NANO_KONTROL2_BUTTON_FOWARD, 127);
    controlChange(surface, NANO_KONTROL2_BUTTON_FOWARD, 0);
    EXPECT_FALSE(deskPaused(&surface));
    EXPECT_FLOAT_EQ(frame(10), 10.02f);
    // ...and the keyboard resumes a pause latched on the surface.
    controlChange(surface, NANO_KONTROL2_BUTTON_FOWARD, 127);
    controlChange(surface, NANO_KONTROL2_BUTTON_FOWARD, 0);
    EXPECT_TRUE(deskPaused(&surface));
    frame(10, {{DESK_PAUSE}});
    EXPECT_FALSE(deskPaused(&surface));
}

TEST_F(Transport, StepsAndSeeksStayInsideTheShow) {
    float t = frame(50, {{DESK_STEP, DESK_FRAME_STEP}});
    EXPECT_TRUE(deskPaused(&surface));  // a step pauses first
    EXPECT_NEAR(t, 50.02f + 1.0f / 60, 1e-4);
    EXPECT_NEAR(frame(t, {{DESK_STEP, -DESK_FRAME_STEP}, {DESK_STEP, -DESK_FRAME_STEP}}), t - 2.0f / 60, 1e-4);

    EXPECT_FLOAT_EQ(frame(5, {{DESK_SEEK, -10}}), 0.0f);
    float end = lastShowRawTime();
    EXPECT_FLOAT_EQ(frame(270, {{DESK_SEEK, 10}}), end);
    // The last time still shows the show; a millisecond later it has ended.
    const TimeMap& map = showTimeMap();
    EXPECT_LT(map.sceneTime[timeMapIndex(map, end)], 273.0f);
    EXPECT_GE(map.sceneTime[timeMapIndex(map, end) + 1], 273.0f);
    EXPECT_FLOAT_EQ(frame(200, {{DESK_TO_START}}), 0.0f);
}

TEST_F(Transport, ActJumpsLandOnActStarts) {
    frame(0, {{DESK_PAUSE}});
    EXPECT_FLOAT_EQ(frame(50, {{DESK_NEXT_ACT}}), actRawStart(3));
    EXPECT_FLOAT_EQ(frame(80, {{DESK_PREVIOUS_ACT}}), actRawStart(3));
    EXPECT_FLOAT_EQ(frame(actRawStart(3), {{DESK_PREVIOUS_ACT}}), actRawStart(2));
    // On the replayed stretch 233-265 (raw 235.8 to 267.8) the act is still
    // the ascent, whose start is where it first plays.
    EXPECT_FLOAT_EQ(frame(250, {{DESK_PREVIOUS_ACT}}), actRawStart(9));
}

TEST_F(Transport, TheLoopWrapsAndRefusesOutBeforeIn) {
    live.frameTime = 0;
    frame(20, {{DESK_LOOP_IN}});
    frame(10, {{DESK_LOOP_OUT}});  // out before in
    EXPECT_EQ(desk.loopOut, DESK_NO_TIME);
    EXPECT_NE(desk.notice.find("after loop in"), std::string::npos);
    frame(0, {{DESK_LOOP_TOGGLE}});
    EXPECT_FALSE(desk.looping);  // refused: no out point yet

    frame(30, {{DESK_LOOP_OUT}});
    frame(25, {{DESK_LOOP_TOGGLE}});
    ASSERT_TRUE(desk.looping);
    EXPECT_FLOAT_EQ(frame(29.99f), 29.99f);
    EXPECT_NEAR(frame(30.01f), 20.01f, 1e-4);  // wrapped by what it overshot
    EXPECT_FLOAT_EQ(frame(26), 26.0f);
    // Loop points are clamped like seeks.
    DeskTransport other;
    std::vector<DeskCommand> in = {{DESK_LOOP_OUT}};
    runDeskCommands(other, in, 500, &surface);
    EXPECT_FLOAT_EQ(other.loopOut, lastShowRawTime());
}

TEST_F(Transport, BookmarksStoreAndJump) {
    frame(37.5f, {{DESK_STORE_BOOKMARK, 0, 2}});
    EXPECT_TRUE(desk.markStored);
    EXPECT_NEAR(desk.bookmarks[2], 37.52f, 1e-4);
    EXPECT_FALSE((frame(100), desk.markStored));  // only on the frame it was stored
    EXPECT_NEAR(frame(100, {{DESK_JUMP_BOOKMARK, 0, 2}}), 37.52f, 1e-4);
    EXPECT_FLOAT_EQ(frame(100, {{DESK_JUMP_BOOKMARK, 0, 5}}), 100.02f);  // empty: stays
    EXPECT_NE(desk.notice.find("empty"), std::string::npos);
}

TEST(DeskFile, RoundTripsAndRefusesDamage) {
    DeskTransport desk;
    desk.loopIn = 12.5f;
    desk.loopOut = 20.25f;
    desk.looping = true;
    desk.bookmarks[0] = 37.484f;
    desk.bookmarks[8] = 250.0f;
    std::string text = deskFileText(desk);

    DeskTransport read;
    std::string why;
    ASSERT_TRUE(readDeskFileText(text, read, why)) << why;
    EXPECT_FLOAT_EQ(read.loopIn, 12.5f);
    EXPECT_FLOAT_EQ(read.loopOut, 20.25f);
    EXPECT_TRUE(read.looping);
    EXPECT_NEAR(read.bookmarks[0], 37.484f, 1e-3);
    EXPECT_FLOAT_EQ(read.bookmarks[8], 250.0f);
    EXPECT_EQ(read.bookmarks[1], DESK_NO_TIME);

    for (const char* damaged : {"loop 30 20 on\n", "loop 1 2\n", "bookmark 10 5\n", "bookmark 1 nan\n",
                                "bookmark 1 5000\n", "bookmark 2 5 extra\n", "\x01\x02garbage\n", "loop 1 2 maybe\n"}) {
        DeskTransport kept = read;
        EXPECT_FALSE(readDeskFileText(damaged, kept, why)) << damaged;
        EXPECT_FALSE(why.empty());
        EXPECT_FLOAT_EQ(kept.loopIn, 12.5f) << "a damaged file leaves the desk as it was";
    }
    DeskTransport empty;
    EXPECT_TRUE(readDeskFileText("# nothing yet\n\n", empty, why));
}

}  // namespace
