// launcher_menu.h - the small menu before the show: title, resolution,
// window mode and the run row, clicked through with the mouse.
#pragma once
#include <string>
#include <vector>

struct AppState;

struct MenuItem {
    int row;  // the text baseline is at y = row * 30 pixels
    std::vector<std::string> options;
    float colour[3];
    int choice;  // index of the shown option
    bool hovered;
};

struct LauncherMenu {
    std::vector<MenuItem> rows;
    float animationTime;
    bool done;        // the viewer chose to run
    bool clickLatch;  // set while the button is held after a counted press
};

// Indices into LauncherMenu::rows.
enum { MENU_TITLE = 0, MENU_RESOLUTION = 1, MENU_MODE = 2, MENU_RUN = 3 };

LauncherMenu makeLauncherMenu();

// Hover, click and done for one frame, the pointer in window pixels.
// `presses` counts the left-button presses since the last frame: each one
// steps the hovered row once, however short. A button found down with no
// press seen since it was last up counts as one press. Returns the hovered
// row index or -1.
int updateLauncherMenu(LauncherMenu& menu, float mouseY, bool leftButton, int presses);

// One launcher frame into the current window: update from the mouse, draw.
void runLauncherFrame(AppState& state);

void drawLauncherMenu(LauncherMenu& menu);

// The option a row shows; folds the choice back into the option count.
const std::string& shownOption(MenuItem& item);

// The show size for a resolution choice: 0 1920 x 1080, 1 2560 x 1440, 2 1280 x 720.
void resolutionForChoice(int choice, int* width, int* height);
