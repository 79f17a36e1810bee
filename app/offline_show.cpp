#include "app/offline_show.h"

#include <GL/glew.h>
#include <SDL.h>

#include <opencv2/core.hpp>

#include "app/app_state.h"
#include "show/part_loader.h"

bool openShowWindow(int width, int height) {
    AppState& state = appState;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return false;
    state.window.Init(0, 0, width, height, false);
    if (!state.window.context) return false;
    state.loader = newZeroedPart<Part_Loader>();
    prepareShow(state);
    createRenderTargets(state);
    state.live._kz = -1;  // as every finished frame leaves it
    return true;
}

Part_Clips* newShowPart() {
    Part_Clips* part = newZeroedPart<Part_Clips>();
    part->app = &appState.partApp;
    part->live = &appState.live;
    return part;
}

cv::Mat readShowFrame() {
    int width = appState.window.width, height = appState.window.height;
    cv::Mat frame(height, width, CV_8UC3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, frame.data);
    cv::flip(frame, frame, 0);  // GL's rows run bottom-up
    return frame;
}
