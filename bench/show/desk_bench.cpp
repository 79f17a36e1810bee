// The maker's loop: from saving a shader to the new picture on screen. The
// show's pictures and programs are loaded in a 1280 x 720 window (--size WxH
// for another); each iteration saves the clip shader unchanged (editors
// rewrite the file the same way), waits for the folder watch to see it,
// rebuilds the programs as the desk does and draws and swaps one frame at
// raw 30 s. Run from the repository root under a display:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/show/desk_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_state.h"
#include "app/desk.h"
#include "app/offline_show.h"
#include "bench/show/silenced_stdout.h"
#include "platform/file_bytes.h"
#include "platform/output_files.h"
#include "show/clips_loader.h"

namespace {

int windowWidth = 1280, windowHeight = 720;

void BM_SavedShaderToPicture(benchmark::State& state) {
    Part_Clips* part = nullptr;
    {
        SilencedStdout quiet;
        if (openShowWindow(windowWidth, windowHeight)) {
            part = newShowPart();
            loadClipsPictures(*part);
            part->buildShaders();
        }
    }
    if (!part) {
        state.SkipWithError("no show window");
        return;
    }
    std::string folder = std::string(SHOW_DATA_DIR) + "shaders";
    std::string name = "f_clip.cpp", path = folder + "/" + name;
    std::vector<uint8_t> text;
    std::string why;
    if (!readWholeFile(path, 1 << 20, &text, &why)) {
        state.SkipWithError("no clip shader");
        return;
    }
    FileWatch watch = watchFolder(folder);
    appState.live.frameTime = 0;
    for (auto _ : state) {
        SilencedStdout quiet;
        writeWholeFile(path, text);
        bool seen = false;
        while (!seen)
            for (const std::string& changed : changedFiles(watch))
                seen = seen || shaderChangeMatters(changed, part->registry.sprite.clipProgram.sources);
        part->buildShaders();
        part->time = 30;
        part->update();
        part->draw();
        SDL_GL_SwapWindow(appState.window.window);
        glFinish();
    }
    closeFileWatch(watch);
}
BENCHMARK(BM_SavedShaderToPicture)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], "--size") == 0 && i + 1 < argc) sscanf(argv[i + 1], "%dx%d", &windowWidth, &windowHeight);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
