#include "app/events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/launcher_menu.h"
#include "platform/system_time.h"
#include "show/part_loader.h"

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
    static void pushButton(Uint32 type, int y, Uint8 button = SDL_BUTTON_LEFT) {
        SDL_Event e = {};
        e.type = type;
        e.button.button = button;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = 100;
        e.button.y = y;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    static void pushMotion(int y, Uint32 buttons) {
        SDL_Event e = {};
        e.type = SDL_MOUSEMOTION;
        e.motion.state = buttons;
        e.motion.x = 100;
        e.motion.y = y;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    static void pushClick(int y) {
        pushButton(SDL_MOUSEBUTTONDOWN, y);
        pushButton(SDL_MOUSEBUTTONUP, y);
    }
    // One launcher frame without the drawing: the event step, then the menu.
    void launcherFrame() {
        handleEventsAt(state, ++ticks);
        updateLauncherMenu(state.menu, static_cast<float>(state.live.mouseY), state.live.leftButton,
                           state.live.leftPresses);
    }
    int choice(int row) const { return state.menu.rows[row].choice; }

    AppState state;
    int64_t ticks = 0;
};

// Row baselines: resolution 90, mode 120, run 210 (hovered within 26 above, 4 below).
constexpr int RESOLUTION_Y = 80, MODE_Y = 110, RUN_Y = 200;

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

TEST_F(EventsTest, LeftPressesAreCountedPerFrame) {
    pushMotion(MODE_Y, 0);
    pushClick(RESOLUTION_Y);
    pushButton(SDL_MOUSEBUTTONDOWN, RUN_Y, SDL_BUTTON_RIGHT);  // other buttons move the pointer only
    pushButton(SDL_MOUSEBUTTONDOWN, RUN_Y);
    handleEventsAt(state, 1);
    EXPECT_EQ(state.live.leftPresses, 2);
    EXPECT_TRUE(state.live.leftButton);
    EXPECT_EQ(state.live.mouseY, RUN_Y);

    pushButton(SDL_MOUSEBUTTONUP, RUN_Y);
    handleEventsAt(state, 2);
    EXPECT_EQ(state.live.leftPresses, 0);  // counts start again every frame
    EXPECT_FALSE(state.live.leftButton);
}

TEST_F(EventsTest, LauncherKeepsClicksBetweenFrames) {
    // Pressed and released between two frames: one step, once.
    pushClick(RESOLUTION_Y);
    launcherFrame();
    EXPECT_EQ(choice(MENU_RESOLUTION), 1);
    launcherFrame();
    EXPECT_EQ(choice(MENU_RESOLUTION), 1);

    // Two quick clicks on a cycling row within one frame: two steps.
    pushClick(RESOLUTION_Y);
    pushClick(RESOLUTION_Y);
    launcherFrame();
    EXPECT_EQ(shownOption(state.menu.rows[MENU_RESOLUTION]), " >       1920 x 1080");
    EXPECT_FALSE(state.menu.clickLatch);

    // Released in one frame and pressed again before the next: both clicks count.
    pushButton(SDL_MOUSEBUTTONDOWN, MODE_Y);
    launcherFrame();
    pushButton(SDL_MOUSEBUTTONUP, MODE_Y);
    pushButton(SDL_MOUSEBUTTONDOWN, MODE_Y);
    launcherFrame();
    pushButton(SDL_MOUSEBUTTONUP, MODE_Y);
    launcherFrame();
    EXPECT_EQ(choice(MENU_MODE), 2);
    EXPECT_FALSE(state.menu.done);

    // A double click on the run row ends the launcher, the second click changes nothing.
    pushClick(RUN_Y);
    pushClick(RUN_Y);
    launcherFrame();
    EXPECT_TRUE(state.menu.done);
    EXPECT_EQ(choice(MENU_RUN), 1);
}

TEST_F(EventsTest, LauncherCountsAHeldOrDraggedButtonOnce) {
    pushButton(SDL_MOUSEBUTTONDOWN, MODE_Y);
    launcherFrame();
    EXPECT_EQ(choice(MENU_MODE), 1);
    pushMotion(MODE_Y + 2, SDL_BUTTON_LMASK);
    launcherFrame();
    pushMotion(RESOLUTION_Y, SDL_BUTTON_LMASK);  // dragged onto another row
    launcherFrame();
    EXPECT_EQ(choice(MENU_MODE), 1);
    EXPECT_EQ(choice(MENU_RESOLUTION), 0);
    EXPECT_TRUE(state.menu.clickLatch);

    pushButton(SDL_MOUSEBUTTONUP, RESOLUTION_Y);
    launcherFrame();
    EXPECT_FALSE(state.menu.clickLatch);
    EXPECT_EQ(choice(MENU_RESOLUTION), 0);
    pushClick(RESOLUTION_Y);
    launcherFrame();
    EXPECT_EQ(choice(MENU_RESOLUTION), 1);
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

// Between two loading-screen redraws the progress is only noted, yet every
// call still reads the events: Escape ends loading at once.
TEST_F(EventsTest, LoadingBetweenRedrawsStillAnswersEscape) {
    Part_Loader loader;
    appState.loader = &loader;
    appState.lastLoadingRedraw = systemTicks();  // just redrawn: nothing is drawn (no GL here)
    reportProgress(0.5f, "figures");
    EXPECT_FLOAT_EQ(loader.progress, 0.5f);
    EXPECT_EXIT(
        {
            appState.lastLoadingRedraw = systemTicks();
            pushKey(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
            reportProgress(0.6f, "figures");
            exit(3);
        },
        testing::ExitedWithCode(0), "");
    appState.loader = nullptr;
}

// The loading picture is drawn once, then only when the window asks for it:
// an expose event read during loading brings a redraw, no sooner than a
// quarter second after the last one.
TEST_F(EventsTest, LoadingScreenRedrawsOnlyWhenTheWindowAsks) {
    EXPECT_TRUE(loadingRedrawDue(state, 1000));
    state.lastLoadingRedraw = 1000;
    EXPECT_FALSE(loadingRedrawDue(state, 1000 + 600000000));  // a minute on, nothing asked

    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&e);
    handleEventsAt(state, 2000);
    EXPECT_TRUE(state.windowExposed);
    EXPECT_FALSE(loadingRedrawDue(state, 1000 + 1000000));  // 0.1 s after the last
    EXPECT_TRUE(loadingRedrawDue(state, 1000 + 2500000));
}

}  // namespace
