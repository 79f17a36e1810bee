#include "video_pipe.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

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

bool openVideoPipe(VideoPipe& video, const std::string& mp4, const std::string& wav, int width, int height,
                   int fps) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    std::string size = std::to_string(width) + "x" + std::to_string(height), rate = std::to_string(fps);
    std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                                     "-f", "rawvideo", "-pix_fmt", "bgr24", "-s", size, "-framerate", rate,
                                     "-i", "-", "-i", wav,
                                     "-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt", "yuv420p",
                                     "-c:a", "aac", "-b:a", "192k", "-shortest", "-movflags", "+faststart", mp4};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    int error = posix_spawnp(&pid, "ffmpeg", &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(fds[0]);
    if (error != 0) {
        close(fds[1]);
        return false;
    }
    video.process = pid;
    video.input = fds[1];
    video.path = mp4;
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

static int waitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

bool finishVideo(VideoPipe& video) {
    close(video.input);
    int status = waitFor(video.process);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void abandonVideo(VideoPipe& video) {
    close(video.input);
    kill(video.process, SIGKILL);
    waitFor(video.process);
    remove(video.path.c_str());
}
