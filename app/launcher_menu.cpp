#include "app/launcher_menu.h"

#include <GL/glew.h>
#include <cmath>

#include "app/app_state.h"
#include "app/stroke_font.h"
#include "render/gl_state.h"

LauncherMenu makeLauncherMenu() {
    LauncherMenu menu = {};
    menu.rows = {
        {1, {" +    Torvanel Quillaret   +"}, {1.0f, 1.0f, 0.0f}, 0, false},
        {3, {" >       1920 x 1080", " >       2560 x 1440", " >       1280 x 720"}, {0.4f, 0.4f, 0.6f}, 0, false},
        {4, {" >       Fullscreen", " >        Windowed"}, {0.4f, 0.4f, 0.6f}, 0, false},
        // Two identical options, so the first click turns the choice to 1.
        {7, {"          + Run +", "          + Run +"}, {0.0f, 0.6f, 0.0f}, 0, false},
    };
    return menu;
}

int updateLauncherMenu(LauncherMenu& menu, float mouseY, bool leftButton, int presses) {
    int hoveredRow = -1;
    for (size_t j = 0; j < menu.rows.size(); ++j) {
        MenuItem& item = menu.rows[j];
        item.hovered = false;
        if (j > 0 && item.row * 30 - 26 < mouseY && mouseY < item.row * 30 + 4) {
            item.hovered = true;
            hoveredRow = static_cast<int>(j);
        }
    }
    int clicks = presses;
    if (clicks == 0 && leftButton && !menu.clickLatch) clicks = 1;
    // One step per click; the first click on the run row ends the launcher,
    // so a second quick one cannot turn it back.
    for (int k = 0; k < clicks && hoveredRow >= 0 && menu.rows[MENU_RUN].choice != 1; ++k)
        menu.rows[hoveredRow].choice += 1;
    menu.clickLatch = leftButton;
    if (menu.rows[MENU_RUN].choice == 1) menu.done = true;
    return hoveredRow;
}

void runLauncherFrame(AppState& state) {
    int width = state.window.width, height = state.window.height;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    glViewport(0, 0, width, height);
    glClearColor(0.02f, 0.02f, 0.05f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // Model space in window pixels, origin top left, y down.
    loadIdentityMatrices();
    glScalef(1.0f, -1.0f, 1.0f);
    glTranslatef(-1.0f, -1.0f, 0.0f);
    glScalef(2.0f / width, 2.0f / height, 1.0f);

    const LiveInputs& live = state.live;
    updateLauncherMenu(state.menu, static_cast<float>(live.mouseY), live.leftButton, live.leftPresses);
    drawLauncherMenu(state.menu);
}

void drawLauncherMenu(LauncherMenu& menu) {
    menu.animationTime += 1.0f / 30.0f;
    float t = menu.animationTime;
    float* title = menu.rows[MENU_TITLE].colour;
    title[0] = std::sin(t) * 0.4f + 0.7f;
    title[1] = std::sin(1.4f * t + 12.0f) * 0.5f + 0.7f;
    title[2] = std::sin(1.8f * t + 514.0f) * 0.5f + 0.7f;

    for (MenuItem& item : menu.rows) {
        glPushMatrix();
        float k = item.hovered ? 11.5f : 1.0f;  // GL clamps: hovered rows light up
        glColor3f(item.colour[0] * k, item.colour[1] * k, item.colour[2] * k);
        if (!item.options.empty()) {
            glTranslatef(0.0f, item.row * 30.0f, 0.0f);
            drawStrokeText(shownOption(item).c_str());
        }
        glPopMatrix();  // also for a row without options, or the stack would fill up
    }
}

const std::string& shownOption(MenuItem& item) {
    item.choice %= static_cast<int>(item.options.size());
    return item.options[item.choice];
}

void resolutionForChoice(int choice, int* width, int* height) {
    static const int sizes[3][2] = {{1920, 1080}, {2560, 1440}, {1280, 720}};
    if (choice < 0 || choice > 2) choice = 0;
    *width = sizes[choice][0];
    *height = sizes[choice][1];
}
