// torvanel-capture - the show rendered frame-exact to pictures, a sound track
// and a video, headless: no window, no X server, no real-time clock.
//
//   torvanel-capture --from A --to B --fps N [--size WxH] --out DIR [--video FILE.mp4]
//   torvanel-capture [--size WxH] --at T FILE.png [--at T FILE.png ...]
//
// Frame k shows exactly raw time A + k/N however long it takes to draw.
#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <opencv2/imgcodecs.hpp>
#include <string>
#include <vector>

#include "app/offline_show.h"
#include "show/frame_trace.h"
#include "timing/soundtrack_decode.h"
#include "video_pipe.h"
#include "wav_file.h"

static const char* const USAGE =
    "usage: torvanel-capture --from A --to B --fps N [--size WxH] --out DIR [--video FILE.mp4]\n"
    "       torvanel-capture [--size WxH] --at T FILE.png [--at T FILE.png ...]\n"
    "Renders the show headless at raw show times A + k/N for every k with A + k/N < B\n"
    "(B no later than the show's end), as DIR/frame_%06d.png, with DIR/soundtrack.wav:\n"
    "the decoded soundtrack from A, aligned so that frame k starts at sample\n"
    "floor(k * 44100 / N). With --video and ffmpeg on the PATH the frames go straight\n"
    "to ffmpeg, muxed with the sound into an H.264/AAC mp4, and no PNGs are written.\n"
    "--at T FILE.png renders the single frame at raw time T (each --at on its own).\n"
    "--size is 1280x720 unless given.\n"
    "Every frame is a pure function of its time: a mesh target that no scene draws\n"
    "into at that time first gets the figure of the last raw millisecond before it\n"
    "at which one did (that frame is rendered first, unsaved), for --at and for each\n"
    "frame of a capture alike, so a capture's frame equals the same time rendered alone.\n"
    "Ctrl-C stops a capture, leaving the PNGs written and the WAV cut to their length,\n"
    "and no video.\n";

struct SingleFrame {
    double time;
    std::string file;
};

struct Options {
    double from = -1, to = -1;
    int fps = 0, width = 1280, height = 720;
    std::string out, video;
    std::vector<SingleFrame> singles;
};

static volatile sig_atomic_t stopRequested = 0;
static void requestStop(int) { stopRequested = 1; }

static bool number(const char* text, double* out) {
    char* end = nullptr;
    *out = strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(*out);
}

static bool parseOptions(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bool value = i + 1 < argc;
        double n = 0;
        if (arg == "--help" || arg == "-h") {
            fputs(USAGE, stdout);
            exit(0);
        } else if (arg == "--from" && value && number(argv[i + 1], &n)) {
            o->from = n, i++;
        } else if (arg == "--to" && value && number(argv[i + 1], &n)) {
            o->to = n, i++;
        } else if (arg == "--fps" && value && number(argv[i + 1], &n) && n >= 1 && n <= 240 && n == std::floor(n)) {
            o->fps = int(n), i++;
        } else if (arg == "--size" && value && sscanf(argv[i + 1], "%dx%d", &o->width, &o->height) == 2 &&
                   o->width >= 16 && o->height >= 16 && o->width <= 8192 && o->height <= 8192) {
            i++;
        } else if (arg == "--out" && value) {
            o->out = argv[++i];
        } else if (arg == "--video" && value) {
            o->video = argv[++i];
        } else if (arg == "--at" && i + 2 < argc && number(argv[i + 1], &n) && n >= 0) {
            o->singles.push_back({n, argv[i + 2]});
            i += 2;
        } else {
            fprintf(stderr, "torvanel-capture: cannot use %s\n%s", arg.c_str(), USAGE);
            return false;
        }
    }
    bool single = !o->singles.empty();
    bool range = o->from >= 0 && o->to > o->from && o->fps > 0 && !o->out.empty();
    if (single == range) {
        fputs(USAGE, stderr);
        return false;
    }
    return true;
}

// The first raw time whose scene time reaches the end of the show.
static double showEndRawTime(const TimeMap& map) {
    for (int i = 0; i < TimeMap::ENTRIES; i++)
        if (map.sceneTime[i] >= SHOW_END_SCENE_TIME) return i / 1000.0;
    return TimeMap::SECONDS;
}

// Progress on one terminal line, or a line every 5 s when not a terminal.
struct Progress {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now(), lastLine = start;
    bool terminal = isatty(STDERR_FILENO);

    void show(int64_t done, int64_t total) {
        auto now = std::chrono::steady_clock::now();
        double elapsed = std::chrono::duration<double>(now - start).count();
        bool last = done == total;
        if (!terminal && !last && std::chrono::duration<double>(now - lastLine).count() < 5) return;
        lastLine = now;
        double rate = elapsed > 0 ? done / elapsed : 0;
        double left = rate > 0 ? (total - done) / rate : 0;
        fprintf(stderr, "%s%lld/%lld frames, %.2f frames/s, %.0f s left%s", terminal ? "\r" : "", (long long)done,
                (long long)total, rate, left, terminal && !last ? "   " : "\n");
        fflush(stderr);
    }
};

static Part_Clips* loadShow(const Options& o) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // Ctrl-C is the capture's
    if (!openShowWindow(o.width, o.height)) {
        fprintf(stderr, "torvanel-capture: no GL context: %s\n", SDL_GetError());
        return nullptr;
    }
    Part_Clips* part = newShowPart();
    part->init();
    fillShowTimeMap(part->timeMap, part->tempo);
    return part;
}

// The frame at raw time t, drawn after the mesh targets are primed.
static cv::Mat renderFrame(Part_Clips& part, double t, MeshTargetContent& content) {
    primeMeshTargets(part, float(t), content);
    part.draw();
    return readShowFrame();
}

static int renderSingles(Part_Clips& part, const Options& o) {
    int status = 0;
    for (const SingleFrame& single : o.singles) {
        if (single.time >= showEndRawTime(part.timeMap)) {
            fprintf(stderr, "torvanel-capture: raw time %g is past the show's end\n", single.time);
            status = 1;
            continue;
        }
        MeshTargetContent unknown;  // as if nothing had been drawn before
        if (!cv::imwrite(single.file, renderFrame(part, single.time, unknown))) {
            fprintf(stderr, "torvanel-capture: cannot write %s\n", single.file.c_str());
            status = 1;
        }
    }
    return status;
}

static int capture(Part_Clips& part, const Options& o) {
    double to = std::min(o.to, showEndRawTime(part.timeMap));
    int64_t total = 0;
    while (o.from + double(total) / o.fps < to) total++;
    std::string wav = o.out + "/soundtrack.wav";
    std::vector<int16_t> pcm;
    decodeSoundtrack("Resources//music//Velmora.mp3", &pcm);  // silence when it cannot be read
    int64_t samples = std::llround((to - o.from) * SOUNDTRACK_RATE);
    if (!writeWav(wav, pcm, int64_t(std::floor(o.from * SOUNDTRACK_RATE)), samples)) {
        fprintf(stderr, "torvanel-capture: cannot write %s\n", wav.c_str());
        return 1;
    }
    pcm = std::vector<int16_t>();

    VideoPipe video;
    bool toVideo = !o.video.empty();
    if (toVideo && !haveFfmpeg()) {
        fprintf(stderr, "torvanel-capture: no ffmpeg on the PATH: writing PNGs and the WAV, no video\n");
        toVideo = false;
    }
    if (toVideo && !openVideoPipe(video, o.video, wav, o.width, o.height, o.fps)) {
        fprintf(stderr, "torvanel-capture: cannot start ffmpeg: writing PNGs and the WAV, no video\n");
        toVideo = false;
    }

    signal(SIGINT, requestStop);
    signal(SIGTERM, requestStop);
    signal(SIGPIPE, SIG_IGN);
    MeshTargetContent content;
    Progress progress;
    int64_t done = 0;
    bool failed = false;
    for (; done < total && !stopRequested && !failed; done++) {
        cv::Mat frame = renderFrame(part, o.from + double(done) / o.fps, content);
        if (toVideo) {
            failed = !writeVideoFrame(video, frame);
            if (failed) fprintf(stderr, "\ntorvanel-capture: ffmpeg stopped taking frames\n");
        } else {
            char name[32];
            snprintf(name, sizeof name, "/frame_%06lld.png", (long long)done);
            failed = !cv::imwrite(o.out + name, frame, {cv::IMWRITE_PNG_COMPRESSION, 1});
            if (failed) fprintf(stderr, "\ntorvanel-capture: cannot write %s%s\n", o.out.c_str(), name);
        }
        if (!failed) progress.show(done + 1, total);
    }
    if (done < total) {
        // Stopped: the sound of the frames kept, no video.
        if (toVideo) abandonVideo(video);
        cutWav(wav, int64_t(std::floor(double(done) * SOUNDTRACK_RATE / o.fps)));
        fprintf(stderr, "\ntorvanel-capture: stopped after %lld of %lld frames\n", (long long)done, (long long)total);
        return failed ? 1 : 130;
    }
    if (toVideo && !finishVideo(video)) {
        fprintf(stderr, "torvanel-capture: ffmpeg did not write %s\n", o.video.c_str());
        return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, &options)) return 2;
    // The show's own log goes to standard error; standard output stays free.
    fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    Part_Clips* part = loadShow(options);
    if (!part) return 1;
    return options.singles.empty() ? capture(*part, options) : renderSingles(*part, options);
}
