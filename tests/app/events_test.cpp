#include "app/events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "app/app_state.h"

namespace {

struct EventsTest : ::testing::Test {
    static void SetUpTestSuite() { ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError(); }
    void SetUp() override {
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        state.lastTicks = 0;
    }
    // Without a video driver SDL has no keymap, so the key code is given.
    static void pushKey(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym = SDLK_UNKNOWN) {
        SDL_Event e = {};
        e.type = type;
        e.key.keysym.scancode = scancode;
        e.key.keysym.sym = sym;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    AppState state;
};

TEST_F(EventsTest, FrameTimeKeepsUpTo035AndClampsStalls) {
    EXPECT_FLOAT_EQ(clampedFrameTime(3500000, 0), 0.35f);
    EXPECT_FLOAT_EQ(clampedFrameTime(3600000, 0), 0.05f);
    EXPECT_FLOAT_EQ(clampedFrameTime(10000000 + 166667, 10000000), 0.0166667f);

    // Through the whole event step, with the clock given: lastTicks follows.
    handleEventsAt(state, 3500000);
    EXPECT_FLOAT_EQ(state.live.frameTime, 0.35f);
    EXPECT_EQ(state.lastTicks, 3500000);
    handleEventsAt(state, 3500000 + 3600000);
    EXPECT_FLOAT_EQ(state.live.frameTime, 0.05f);
    EXPECT_EQ(state.lastTicks, 7100000);
}

TEST_F(EventsTest, KeyTableFollowsRealKeyEvents) {
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_SPACE);  // a repeat leaves it set
    handleEventsAt(state, 1);
    EXPECT_TRUE(state.live.keys[44]);

    // Pressed and released within one frame: clear at the end of the poll.
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_A);
    pushKey(SDL_KEYUP, SDL_SCANCODE_A);
    handleEventsAt(state, 2);
    EXPECT_FALSE(state.live.keys[4]);
    EXPECT_TRUE(state.live.keys[44]);  // held keys stay held until their key-up

    pushKey(SDL_KEYUP, SDL_SCANCODE_SPACE);
    handleEventsAt(state, 3);
    EXPECT_FALSE(state.live.keys[44]);
}

TEST_F(EventsTest, EveryPressIsEchoed) {
    testing::internal::CaptureStdout();
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_B);
    pushKey(SDL_KEYUP, SDL_SCANCODE_B);
    handleEventsAt(state, 1);
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "KEY: 5\n");
}

TEST_F(EventsTest, EscapeAndWindowCloseExitWithStatusZero) {
    EXPECT_EXIT(
        {
            pushKey(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
            handleEventsAt(state, 1);
            exit(3);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            SDL_Event e = {};
            e.type = SDL_WINDOWEVENT;
            e.window.event = SDL_WINDOWEVENT_CLOSE;
            SDL_PushEvent(&e);
            handleEventsAt(state, 1);
            exit(3);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
