#include "app/launcher_menu.h"

#include <gtest/gtest.h>

namespace {

// Row baselines: resolution 90, mode 120, run 210; a row is hovered strictly
// between baseline - 26 and baseline + 4.
constexpr float RESOLUTION_Y = 80, MODE_Y = 110, RUN_Y = 200, BETWEEN_Y = 150;

void click(LauncherMenu& menu, float y) {
    updateLauncherMenu(menu, y, true, 1);
    updateLauncherMenu(menu, y, false, 0);
}

TEST(LauncherMenu, HoverBoundsAreStrict) {
    LauncherMenu menu = makeLauncherMenu();
    EXPECT_EQ(updateLauncherMenu(menu, 3 * 30 - 26, false, 0), -1);
    EXPECT_EQ(updateLauncherMenu(menu, 3 * 30 - 25.9f, false, 0), MENU_RESOLUTION);
    EXPECT_TRUE(menu.rows[MENU_RESOLUTION].hovered);
    // y = 94 is the resolution row's upper bound and the mode row's lower one: neither.
    EXPECT_EQ(updateLauncherMenu(menu, 3 * 30 + 4, false, 0), -1);
    EXPECT_FALSE(menu.rows[MENU_RESOLUTION].hovered);
    EXPECT_EQ(updateLauncherMenu(menu, 3 * 30 + 4.1f, false, 0), MENU_MODE);
    EXPECT_EQ(updateLauncherMenu(menu, 7 * 30 + 4, false, 0), -1);
    EXPECT_EQ(updateLauncherMenu(menu, 20, false, 0), -1);  // the title row is never hovered
    EXPECT_FALSE(menu.rows[MENU_TITLE].hovered);
}

TEST(LauncherMenu, ClicksCycleOptionsOncePerPress) {
    LauncherMenu menu = makeLauncherMenu();
    click(menu, RESOLUTION_Y);
    EXPECT_EQ(menu.rows[MENU_RESOLUTION].choice, 1);
    click(menu, RESOLUTION_Y);
    click(menu, RESOLUTION_Y);
    EXPECT_EQ(shownOption(menu.rows[MENU_RESOLUTION]), " >       1920 x 1080");
    EXPECT_EQ(menu.rows[MENU_RESOLUTION].choice, 0);

    // Held over a row, then dragged onto another: counts once.
    updateLauncherMenu(menu, MODE_Y, true, 1);
    updateLauncherMenu(menu, MODE_Y, true, 0);
    updateLauncherMenu(menu, RESOLUTION_Y, true, 0);
    EXPECT_EQ(menu.rows[MENU_MODE].choice, 1);
    EXPECT_EQ(menu.rows[MENU_RESOLUTION].choice, 0);
    EXPECT_TRUE(menu.clickLatch);
    updateLauncherMenu(menu, RESOLUTION_Y, false, 0);
    EXPECT_FALSE(menu.clickLatch);

    // A click between rows only sets the latch.
    updateLauncherMenu(menu, BETWEEN_Y, true, 1);
    EXPECT_TRUE(menu.clickLatch);
    EXPECT_EQ(menu.rows[MENU_MODE].choice, 1);
    EXPECT_FALSE(menu.done);
}

TEST(LauncherMenu, PressesShorterThanAFrameCountOnceEach) {
    LauncherMenu menu = makeLauncherMenu();
    // Pressed and released between two frames: the button reads up, yet it counts.
    updateLauncherMenu(menu, RESOLUTION_Y, false, 1);
    EXPECT_EQ(menu.rows[MENU_RESOLUTION].choice, 1);
    EXPECT_FALSE(menu.clickLatch);
    updateLauncherMenu(menu, RESOLUTION_Y, false, 0);
    EXPECT_EQ(menu.rows[MENU_RESOLUTION].choice, 1);

    // Two clicks, the second still held at the frame: two steps, then the latch.
    updateLauncherMenu(menu, MODE_Y, true, 2);
    EXPECT_EQ(menu.rows[MENU_MODE].choice, 2);
    EXPECT_TRUE(menu.clickLatch);
    updateLauncherMenu(menu, MODE_Y, true, 0);
    EXPECT_EQ(menu.rows[MENU_MODE].choice, 2);

    // A button found down with no press seen since it was up counts once.
    updateLauncherMenu(menu, RESOLUTION_Y, false, 0);
    updateLauncherMenu(menu, RESOLUTION_Y, true, 0);
    updateLauncherMenu(menu, RESOLUTION_Y, true, 0);
    EXPECT_EQ(menu.rows[MENU_RESOLUTION].choice, 2);
}

TEST(LauncherMenu, RunRowEndsTheLauncher) {
    LauncherMenu menu = makeLauncherMenu();
    updateLauncherMenu(menu, RUN_Y, true, 1);
    EXPECT_TRUE(menu.done);
    EXPECT_EQ(menu.rows[MENU_RUN].options[0], menu.rows[MENU_RUN].options[1]);

    // A double click on the run row: the first click ends it, the second cannot undo it.
    LauncherMenu quick = makeLauncherMenu();
    updateLauncherMenu(quick, RUN_Y, false, 2);
    EXPECT_TRUE(quick.done);
    EXPECT_EQ(quick.rows[MENU_RUN].choice, 1);
}

TEST(LauncherMenu, ResolutionChoices) {
    int w = 0, h = 0;
    resolutionForChoice(1, &w, &h);
    EXPECT_EQ(w, 2560);
    EXPECT_EQ(h, 1440);
    resolutionForChoice(2, &w, &h);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);
    resolutionForChoice(0, &w, &h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
}

}  // namespace
