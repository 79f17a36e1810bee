#include "app/offline_show.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <vector>

#include "app/app_state.h"
#include "platform/console.h"
#include "platform/data_dir.h"
#include "platform/output_files.h"
#include "show/part_loader.h"

bool useShowData(const char* program, bool verbose) {
    DataSearch data = findDataDir();
    if (data.dir.empty()) {
        fprintf(stderr, "%s\n", missingDataLine(program, data).c_str());
        return false;
    }
    setDataRoot(data.dir);
    consoleKeepDetail(verbose);
    return true;
}

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

int writeFramePng(const std::string& path, const cv::Mat& frame) {
    std::vector<uint8_t> bytes;
    if (!cv::imencode(".png", frame, bytes, {cv::IMWRITE_PNG_COMPRESSION, 1})) return EINVAL;
    return writeWholeFile(path, bytes);
}
