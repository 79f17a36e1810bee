// scene_reload_driver - a headless frame loop that watches a scene module,
// for the reload test and the reload benchmark.
//
//   scene_reload_driver MODULE SCENE_TIME SECONDS [WxH]
//
// Loads the show (SDL's offscreen driver), watches MODULE, then for SECONDS
// draws the frame at SCENE_TIME over and over, checking the module before
// each frame as the show's loop does. Whenever the frame's draw trace
// differs from the one before it prints
//
//   picture FRAME HASH WALL
//
// (the frame's number, a hash of its trace, the wall clock in seconds when
// the frame was finished); the module's own lines come on standard output
// too.
#include <GL/glew.h>
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/offline_show.h"
#include "show/frame_trace.h"
#include "show/scene_module.h"

static double wallSeconds() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

static size_t traceHash(const DrawTrace& trace) {
    std::string text;
    for (const DrawCall& call : trace.calls) text += drawCallJson(call) + "\n";
    for (const UniformSet& set : trace.uniforms) text += uniformSetJson(set) + "\n";
    return std::hash<std::string>()(text);
}

int main(int argc, char** argv) {
    int width = 1280, height = 720;
    if (argc < 4 || (argc == 5 && sscanf(argv[4], "%dx%d", &width, &height) != 2) || argc > 5) {
        fprintf(stderr, "usage: scene_reload_driver MODULE SCENE_TIME SECONDS [WxH]\n");
        return 2;
    }
    const float sceneTime = std::strtof(argv[2], nullptr);
    const double seconds = std::strtod(argv[3], nullptr);

    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!openShowWindow(width, height)) {
        fprintf(stderr, "scene_reload_driver: no GL context: %s\n", SDL_GetError());
        return 1;
    }
    Part_Clips* part = newShowPart();
    part->init();
    watchSceneModule(argv[1]);

    const auto start = std::chrono::steady_clock::now();
    size_t shown = 0;
    for (int frame = 0; std::chrono::steady_clock::now() - start < std::chrono::duration<double>(seconds); frame++) {
        checkSceneModule();
        setSceneTime(*part, sceneTime, 0);
        const size_t hash = traceHash(traceFrame(*part));
        glFinish();
        if (frame == 0 || hash != shown) {
            printf("picture %d %zx %.6f\n", frame, hash, wallSeconds());
            fflush(stdout);
            shown = hash;
        }
    }
    return 0;
}
