// torvanel-trace - the show's frames at chosen times, as the drawers saw them.
//
//   torvanel-trace [--png DIR] [--size WxH] [--uniforms] [--verbose] TIME...
//
// TIME is a raw show time in seconds, or --scene T [--flag F] for a scene
// time directly. The show loads headless (SDL's offscreen video driver, an
// EGL context) unless SDL_VIDEODRIVER says otherwise. For each time the time
// map is filled as a running show has it, the clips part's advance step runs
// with a frame time of 0, then its draw step with the trace on.
//
// Standard output gets JSON Lines: a header per time, then one line per
// drawer call in call order. The show's warnings and errors go to standard
// error; its loading log too, with --verbose.
#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/offline_show.h"
#include "platform/huge_pages.h"
#include "platform/output_files.h"
#include "show/frame_trace.h"

static const char* const USAGE =
    "usage: torvanel-trace [--png DIR] [--size WxH] [--uniforms] [--verbose] TIME...\n"
    "  TIME          a raw show time in seconds, or\n"
    "  --scene T [--flag F]\n"
    "                a scene time (and its flag, 0 unless given) directly; the\n"
    "                raw time is then the scene time\n"
    "  --png DIR     also write each finished frame as DIR/frame_RAW.png (DIR is\n"
    "                made when missing)\n"
    "                (DIR/frame_scene_T.png for a scene time). A mesh target no\n"
    "                group draws into at that time first gets the figure of the\n"
    "                last millisecond before it that did; DIR is made when missing.\n"
    "  --size WxH    the show window, 1280x720 unless given\n"
    "  --uniforms    after each time's calls, a line per value a group set on\n"
    "                a program: {\"group\", \"uniform\", \"value\"}\n"
    "  --verbose     the show's loading log on standard error\n"
    "Standard output: JSON Lines, per time a header\n"
    "  {\"raw\", \"scene\", \"flag\", \"eye\", \"center\"}\n"
    "then one line per drawer call\n"
    "  {\"group\", \"kind\", \"name\", \"ot\", \"mode\", \"color\", \"mv\", \"extra\"}.\n"
    "At a scene time of 273 or more only the header is written.\n"
    "The data (Resources/) comes from the working folder, else from the installation\n"
    "(share/torvanel beside the program's bin/), else from TORVANEL_DATA.\n";

struct FrameTime {
    bool scene;
    float seconds;
    int flag;
};

struct Options {
    std::string pngDir;
    bool uniforms = false, verbose = false;
    int width = 1280, height = 720;
    std::vector<FrameTime> times;
};

static bool parseNumber(const char* text, float* out) {
    char* end = nullptr;
    *out = strtof(text, &end);
    return end != text && *end == '\0';
}

static bool parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--png" && hasValue) {
            options->pngDir = argv[++i];
        } else if (arg == "--size" && hasValue) {
            if (sscanf(argv[++i], "%dx%d", &options->width, &options->height) != 2 || options->width < 16 ||
                options->height < 16 || options->width > 8192 || options->height > 8192) {
                fprintf(stderr, "torvanel-trace: --size wants WxH, for example 1280x720\n");
                return false;
            }
        } else if (arg == "--scene" && hasValue) {
            FrameTime time = {true, 0, 0};
            if (!parseNumber(argv[++i], &time.seconds)) {
                fprintf(stderr, "torvanel-trace: not a time: %s\n", argv[i]);
                return false;
            }
            if (i + 2 < argc && strcmp(argv[i + 1], "--flag") == 0) {
                time.flag = atoi(argv[i + 2]);
                i += 2;
            }
            options->times.push_back(time);
        } else if (arg == "--uniforms") {
            options->uniforms = true;
        } else if (arg == "--verbose") {
            options->verbose = true;
        } else if (arg == "--help" || arg == "-h") {
            fputs(USAGE, stdout);
            exit(0);
        } else {
            FrameTime time = {false, 0, 0};
            if (!parseNumber(arg.c_str(), &time.seconds)) {
                fprintf(stderr, "torvanel-trace: unknown argument: %s\n%s", arg.c_str(), USAGE);
                return false;
            }
            options->times.push_back(time);
        }
    }
    if (options->times.empty()) {
        fputs(USAGE, stderr);
        return false;
    }
    return true;
}

static std::string framePath(const Options& options, const FrameTime& time) {
    char name[64];
    snprintf(name, sizeof(name), time.scene ? "frame_scene_%.3f.png" : "frame_%.3f.png", time.seconds);
    return options.pngDir + "/" + name;
}

int main(int argc, char** argv) {
    restartWithHugePages(argv);
    Options options;
    if (!parseOptions(argc, argv, &options)) return 2;
    if (!useShowData("torvanel-trace", options.verbose)) return 1;
    if (!options.pngDir.empty()) {
        std::string why = prepareOutputDir(options.pngDir);
        if (!why.empty()) {
            fprintf(stderr, "torvanel-trace: %s\n", why.c_str());
            return 2;
        }
    }

    // The JSON keeps the real standard output; the show's own log goes to
    // standard error with everything else.
    fflush(stdout);
    FILE* json = fdopen(dup(STDOUT_FILENO), "w");
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (!json) {
        fprintf(stderr, "torvanel-trace: cannot keep standard output\n");
        return 1;
    }

    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!openShowWindow(options.width, options.height)) {
        fprintf(stderr, "torvanel-trace: no GL context: %s\n", SDL_GetError());
        return 1;
    }
    Part_Clips* part = newShowPart();
    part->init();

    bool ok = true;
    for (const FrameTime& time : options.times) {
        bool png = !options.pngDir.empty();
        MeshTargetContent unknown;  // each frame is a picture on its own
        if (time.scene) {
            if (png) primeMeshTargetsForScene(*part, time.seconds, time.flag, unknown);
            setSceneTime(*part, time.seconds, time.flag);
        } else {
            if (png) primeMeshTargets(*part, time.seconds, unknown);
            setRawTime(*part, time.seconds);
        }
        fprintf(json, "%s\n", frameHeaderJson(*part).c_str());
        if (part->sceneTime >= SHOW_END_SCENE_TIME) continue;
        DrawTrace trace = traceFrame(*part);
        for (const DrawCall& call : trace.calls) fprintf(json, "%s\n", drawCallJson(call).c_str());
        if (options.uniforms)
            for (const UniformSet& set : trace.uniforms) fprintf(json, "%s\n", uniformSetJson(set).c_str());
        int error = png ? writeFramePng(framePath(options, time), readShowFrame()) : 0;
        if (error) {
            fprintf(stderr, "torvanel-trace: %s\n", writeFailure(framePath(options, time), error).c_str());
            ok = false;
        }
        fflush(json);
    }
    fclose(json);
    return ok ? 0 : 1;
}
