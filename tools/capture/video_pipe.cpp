#include "video_pipe.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/output_files.h"

extern char** environ;

bool haveFfmpeg() {
    const char* path = getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/ffmpeg";
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// ffmpeg with `args` in a process group of its own, reading standard input
// from `input` (none when -1). 0 when it could not start.
static pid_t spawnFfmpeg(std::vector<std::string> args, int input, int closeInChild) {
    std::vector<std::string> head = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y"};
    if (input < 0) head.push_back("-nostdin");
    args.insert(args.begin(), head.begin(), head.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    if (closeInChild >= 0) posix_spawn_file_actions_addclose(&actions, closeInChild);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    int error = posix_spawnp(&pid, "ffmpeg", &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error == 0 ? pid : 0;
}

static int waitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

static std::vector<std::string> videoCodec(bool lossless) {
    if (lossless) return {"-c:v", "libx264rgb", "-qp", "0", "-preset", "veryfast", "-pix_fmt", "bgr24"};
    return {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt", "yuv420p"};
}

static const std::vector<std::string> AUDIO_CODEC = {"-c:a", "aac", "-b:a", "192k"};

bool openVideoPipe(VideoPipe& video, const VideoFormat& format, int width, int height, int fps) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    std::vector<std::string> args = {"-f", "rawvideo", "-pix_fmt", "bgr24",
                                     "-s", std::to_string(width) + "x" + std::to_string(height),
                                     "-framerate", std::to_string(fps), "-i", "-"};
    if (!format.wav.empty()) args.insert(args.end(), {"-i", format.wav});
    for (const std::string& arg : videoCodec(format.lossless)) args.push_back(arg);
    if (!format.wav.empty()) args.insert(args.end(), AUDIO_CODEC.begin(), AUDIO_CODEC.end());
    video.path = format.path;
    video.temporary = temporaryNameFor(format.path);
    args.insert(args.end(), {"-movflags", "+faststart", "-f", "mp4", video.temporary});
    pid_t pid = spawnFfmpeg(args, fds[0], fds[1]);
    close(fds[0]);
    if (pid == 0) {
        close(fds[1]);
        return false;
    }
    video.process = pid;
    video.input = fds[1];
    return true;
}

bool writeVideoFrame(VideoPipe& video, const cv::Mat& bgr) {
    const uint8_t* at = bgr.data;
    size_t left = bgr.total() * bgr.elemSize();
    while (left > 0) {
        ssize_t written = write(video.input, at, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        at += written;
        left -= size_t(written);
    }
    return true;
}

// The temporary file renamed to its name after a clean exit, removed otherwise.
static bool keepIfFinished(int status, const std::string& temporary, const std::string& path) {
    bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) remove(temporary.c_str());
    return ok;
}

bool finishVideo(VideoPipe& video) {
    close(video.input);
    return keepIfFinished(waitFor(video.process), video.temporary, video.path);
}

void abandonVideo(VideoPipe& video) {
    close(video.input);
    kill(video.process, SIGKILL);
    waitFor(video.process);
    remove(video.temporary.c_str());
}

// A part's name as the concat demuxer reads it: quoted, quotes escaped.
static std::string concatLine(const std::string& path) {
    std::string quoted = "file '";
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'\n";
}

bool joinVideos(const std::string& out, const std::vector<std::string>& parts, const std::string& wav) {
    std::string list = temporaryNameFor(out) + ".txt";
    {
        std::ofstream file(list);
        for (const std::string& part : parts) {
            char absolute[4096];
            file << concatLine(part[0] == '/' || !realpath(part.c_str(), absolute) ? part : absolute);
        }
        if (!file) return false;
    }
    std::string temporary = temporaryNameFor(out);
    std::vector<std::string> args = {"-f", "concat", "-safe", "0", "-i", list, "-i", wav,
                                     "-map", "0:v", "-map", "1:a", "-c:v", "copy"};
    args.insert(args.end(), AUDIO_CODEC.begin(), AUDIO_CODEC.end());
    args.insert(args.end(), {"-movflags", "+faststart", "-f", "mp4", temporary});
    pid_t pid = spawnFfmpeg(args, -1, -1);
    bool ok = pid != 0 && keepIfFinished(waitFor(pid), temporary, out);
    remove(list.c_str());
    return ok;
}
