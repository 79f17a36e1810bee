// torvanel-capture - the show rendered frame-exact to pictures, a sound track
// and a video, headless: no window, no X server, no real-time clock.
//
//   torvanel-capture --from A --to B --fps N [--size WxH] --out DIR [--video FILE.mp4] [--segment K/N]
//   torvanel-capture [--size WxH] --at T FILE.png [--at T FILE.png ...]
//   torvanel-capture --join OUT.mp4 PART.mp4...
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
#include <string>
#include <vector>

#include "app/offline_show.h"
#include "platform/huge_pages.h"
#include "platform/output_files.h"
#include "show/frame_trace.h"
#include "timing/soundtrack_decode.h"
#include "video_pipe.h"
#include "wav_file.h"

static const char* const USAGE =
    "usage: torvanel-capture --from A --to B --fps N [--size WxH] --out DIR [--video FILE.mp4]\n"
    "                        [--segment K/N] [--lossless] [--verbose]\n"
    "       torvanel-capture [--size WxH] [--verbose] --at T FILE.png [--at T FILE.png ...]\n"
    "       torvanel-capture --join OUT.mp4 PART.mp4...\n"
    "Renders the show headless at raw show times A + k/N for every k with A + k/N < B\n"
    "(B no later than the show's end), as DIR/frame_%06d.png, with DIR/soundtrack.wav:\n"
    "the decoded soundtrack from A, aligned so that frame k starts at sample\n"
    "floor(k * 44100 / N). With --video and ffmpeg on the PATH the frames go straight\n"
    "to ffmpeg, muxed with the sound into an H.264/AAC mp4, and no PNGs are written.\n"
    "--lossless encodes the video losslessly in RGB (H.264's lossless RGB mode).\n"
    "--segment K/N renders only the K-th of N parts of the range's frames (the first\n"
    "parts take one frame more when N does not divide them), video only, to\n"
    "DIR/segment_K_of_N.mp4, with DIR/soundtrack.wav for the whole range (the same\n"
    "file from every part). --join then stream-copies the parts, in the order given,\n"
    "into one mp4 with the soundtrack.wav found beside the first part.\n"
    "--at T FILE.png renders the single frame at raw time T (each --at on its own).\n"
    "--size is 1280x720 unless given. Folders are made when missing.\n"
    "The data (Resources/) comes from the working folder, else from the installation\n"
    "(share/torvanel beside the program's bin/), else from TORVANEL_DATA.\n"
    "Every frame is a pure function of its time: a mesh target that no scene draws\n"
    "into at that time first gets the figure of the last raw millisecond before it\n"
    "at which one did (that frame is rendered first, unsaved), for --at and for each\n"
    "frame of a capture alike, so a capture's frame equals the same time rendered alone.\n"
    "Ctrl-C (status 130) or SIGTERM (143) stops a capture, leaving the PNGs written and\n"
    "the WAV cut to their length, and no video. --verbose prints the loading log.\n";

struct SingleFrame {
    double time;
    std::string file;
};

struct Options {
    double from = -1, to = -1;
    int fps = 0, width = 1280, height = 720;
    int segment = 0, segments = 0;  // 0 of 0: the whole range
    bool lossless = false, verbose = false;
    std::string out, video, join;
    std::vector<std::string> parts;
    std::vector<SingleFrame> singles;
};

static volatile sig_atomic_t stopSignal = 0;
static void requestStop(int signal) { stopSignal = signal; }

static void fail(const std::string& line) { fprintf(stderr, "torvanel-capture: %s\n", line.c_str()); }

static std::string seconds(double t) {
    char text[32];
    snprintf(text, sizeof text, "%g s", t);
    return text;
}

static bool number(const char* text, double* out) {
    char* end = nullptr;
    *out = strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(*out);
}

static bool parseSegment(const char* text, Options* o) {
    char tail = 0;
    return sscanf(text, "%d/%d%c", &o->segment, &o->segments, &tail) == 2 && o->segments >= 1 &&
           o->segments <= 100000 && o->segment >= 1 && o->segment <= o->segments;
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
        } else if (arg == "--segment" && value && parseSegment(argv[i + 1], o)) {
            i++;
        } else if (arg == "--lossless") {
            o->lossless = true;
        } else if (arg == "--verbose") {
            o->verbose = true;
        } else if (arg == "--join" && i + 2 < argc) {
            o->join = argv[++i];
            while (i + 1 < argc) o->parts.push_back(argv[++i]);
        } else if (arg == "--at" && i + 2 < argc && number(argv[i + 1], &n) && n >= 0) {
            o->singles.push_back({n, argv[i + 2]});
            i += 2;
        } else {
            fprintf(stderr, "torvanel-capture: cannot use %s\n%s", arg.c_str(), USAGE);
            return false;
        }
    }
    bool single = !o->singles.empty(), join = !o->join.empty();
    bool range = o->from >= 0 && o->to > o->from && o->fps > 0 && !o->out.empty();
    if (int(single) + int(range) + int(join) != 1 || (o->segments && !range)) {
        fputs(USAGE, stderr);
        return false;
    }
    return true;
}

// The folders the outputs go to, made when missing; false after one line.
static bool prepareFolders(const Options& o) {
    std::vector<std::string> folders;
    if (!o.out.empty()) folders.push_back(o.out);
    if (!o.video.empty()) folders.push_back(folderOf(o.video));
    if (!o.join.empty()) folders.push_back(folderOf(o.join));
    for (const SingleFrame& single : o.singles) folders.push_back(folderOf(single.file));
    for (const std::string& folder : folders) {
        std::string why = prepareOutputDir(folder);
        if (!why.empty()) {
            fail(why);
            return false;
        }
    }
    return true;
}

// The first raw time whose scene time reaches the end of the show.
static double showEndRawTime(const TimeMap& map) {
    for (int i = 0; i < TimeMap::ENTRIES; i++)
        if (map.sceneTime[i] >= SHOW_END_SCENE_TIME) return i / 1000.0;
    return TimeMap::SECONDS;
}

// The frames a capture renders: [first, first + count) of the range.
struct FrameSpan {
    double to = 0;  // the range's end, cut to the show's
    int64_t total = 0, first = 0, count = 0;
};

static FrameSpan frameSpan(const Options& o, double end) {
    FrameSpan span;
    span.to = std::min(o.to, end);
    while (o.from + double(span.total) / o.fps < span.to) span.total++;
    span.count = span.total;
    if (o.segments) {
        int64_t base = span.total / o.segments, extra = span.total % o.segments, k = o.segment - 1;
        span.first = k * base + std::min<int64_t>(k, extra);
        span.count = base + (k < extra ? 1 : 0);
    }
    return span;
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

static bool loadShow(const Options& o, Part_Clips* part) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // Ctrl-C is the capture's
    if (!openShowWindow(o.width, o.height)) {
        fail(std::string("no GL context: ") + SDL_GetError());
        return false;
    }
    part->init();
    return true;
}

// The frame at raw time t, drawn after the mesh targets are primed.
static cv::Mat renderFrame(Part_Clips& part, double t, MeshTargetContent& content) {
    primeMeshTargets(part, float(t), content);
    part.draw();
    return readShowFrame();
}

static int renderSingles(Part_Clips& part, const Options& o) {
    for (const SingleFrame& single : o.singles) {
        MeshTargetContent unknown;  // as if nothing had been drawn before
        if (int error = writeFramePng(single.file, renderFrame(part, single.time, unknown))) {
            fail(writeFailure(single.file, error));
            return 1;
        }
    }
    return 0;
}

static std::string videoFailure(const std::string& path) {
    return diskIsFull(folderOf(path)) ? writeFailure(path, ENOSPC) : "ffmpeg did not write " + path;
}

static int capture(Part_Clips& part, const Options& o, const FrameSpan& span) {
    // The whole range's sound, for a segment too: every part carries the
    // same file, so whichever comes back serves the join.
    std::string wav = o.out + "/soundtrack.wav";
    {
        std::vector<int16_t> pcm;
        decodeSoundtrack("Resources//music//Velmora.mp3", &pcm);
        int64_t samples = std::llround((span.to - o.from) * SOUNDTRACK_RATE);
        if (int error = writeWav(wav, pcm, int64_t(std::floor(o.from * SOUNDTRACK_RATE)), samples)) {
            fail(writeFailure(wav, error));
            return 1;
        }
    }

    VideoPipe video;
    std::string videoPath = o.video;
    if (o.segments) {
        char name[64];
        snprintf(name, sizeof name, "/segment_%d_of_%d.mp4", o.segment, o.segments);
        videoPath = o.out + name;
    }
    bool toVideo = !videoPath.empty();
    if (toVideo && !haveFfmpeg()) {
        if (o.segments) {
            fail("--segment needs ffmpeg on the PATH");
            return 1;
        }
        fail("no ffmpeg on the PATH: writing PNGs and the WAV, no video");
        toVideo = false;
    }
    VideoFormat format = {videoPath, o.segments ? std::string() : wav, o.lossless};
    if (toVideo && !openVideoPipe(video, format, o.width, o.height, o.fps)) {
        fail("cannot start ffmpeg");
        return 1;
    }

    signal(SIGINT, requestStop);
    signal(SIGTERM, requestStop);
    signal(SIGPIPE, SIG_IGN);
    MeshTargetContent content;
    Progress progress;
    int64_t done = 0;
    bool failed = false;
    while (done < span.count && !stopSignal && !failed) {
        int64_t k = span.first + done;
        cv::Mat frame = renderFrame(part, o.from + double(k) / o.fps, content);
        if (toVideo) {
            failed = !writeVideoFrame(video, frame);
            if (failed) fprintf(stderr, "\ntorvanel-capture: %s\n", videoFailure(videoPath).c_str());
        } else {
            char name[32];
            snprintf(name, sizeof name, "/frame_%06lld.png", (long long)k);
            int error = writeFramePng(o.out + name, frame);
            failed = error != 0;
            if (failed) fprintf(stderr, "\ntorvanel-capture: %s\n", writeFailure(o.out + name, error).c_str());
        }
        if (!failed) progress.show(++done, span.count);
    }
    if (done < span.count) {
        // Stopped: the sound of the frames kept, no video.
        if (toVideo) abandonVideo(video);
        if (!o.segments) cutWav(wav, int64_t(std::floor(double(done) * SOUNDTRACK_RATE / o.fps)));
        fprintf(stderr, "%storvanel-capture: stopped after %lld of %lld frames\n", failed ? "" : "\n",
                (long long)done, (long long)span.count);
        if (failed) return 1;
        return stopSignal == SIGTERM ? 143 : 130;
    }
    if (toVideo && !finishVideo(video)) {
        fail(videoFailure(videoPath));
        return 1;
    }
    return 0;
}

static int join(const Options& o) {
    if (!haveFfmpeg()) {
        fail("--join needs ffmpeg on the PATH");
        return 1;
    }
    std::string wav = folderOf(o.parts.front()) + "/soundtrack.wav";
    for (const std::string& file : o.parts)
        if (access(file.c_str(), R_OK) != 0) {
            fail("cannot read " + file + ": " + strerror(errno));
            return 1;
        }
    if (access(wav.c_str(), R_OK) != 0) {
        fail("cannot read " + wav + " (the sound every part writes beside it): " + strerror(errno));
        return 1;
    }
    if (!joinVideos(o.join, o.parts, wav)) {
        fail(videoFailure(o.join));
        return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    restartWithHugePages(argv);
    Options options;
    if (!parseOptions(argc, argv, &options)) return 2;
    if (!options.join.empty()) return prepareFolders(options) ? join(options) : 2;
    if (!useShowData("torvanel-capture", options.verbose)) return 1;
    if (!prepareFolders(options)) return 2;

    Part_Clips* part = newShowPart();
    fillShowTimeMap(part->timeMap, part->tempo);
    double end = showEndRawTime(part->timeMap);
    for (const SingleFrame& single : options.singles)
        if (single.time >= end) {
            fail("raw time " + seconds(single.time) + " is past the show's end (" + seconds(end) + ")");
            return 2;
        }
    FrameSpan span = frameSpan(options, end);
    if (options.singles.empty() && span.total == 0) {
        fail("the range from " + seconds(options.from) + " lies past the show's end (" + seconds(end) +
             "): no frames to render");
        return 2;
    }

    // The show's own messages go to standard error; standard output stays free.
    fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (!loadShow(options, part)) return 1;
    return options.singles.empty() ? capture(*part, options, span) : renderSingles(*part, options);
}
