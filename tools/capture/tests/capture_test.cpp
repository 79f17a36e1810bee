// The capture tool run as a viewer would, headless (no DISPLAY): a capture's
// frames equal the same times rendered alone, the sound track is the decoded
// soundtrack from the first frame on, and a stopped capture leaves valid
// files and no video.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <thread>
#include <vector>

#include "timing/soundtrack_decode.h"

namespace fs = std::filesystem;

namespace {

std::string exact(double t) {
    char text[40];
    snprintf(text, sizeof text, "%.17g", t);
    return text;
}

int run(const std::string& arguments) {
    std::string command = "cd " TORVANEL_SOURCE_DIR " && env -u DISPLAY " CAPTURE_EXE " " + arguments + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Wav {
    int channels = 0, rate = 0;
    std::vector<int16_t> samples;
};

Wav readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Wav wav;
    if (bytes.size() < 44 || std::string(bytes.data(), 4) != "RIFF" || std::string(bytes.data() + 36, 4) != "data")
        return wav;
    uint32_t riff, data;
    memcpy(&riff, &bytes[4], 4);
    memcpy(&data, &bytes[40], 4);
    if (riff != bytes.size() - 8 || data != bytes.size() - 44) return wav;  // sizes agree with the file
    uint16_t channels;
    memcpy(&channels, &bytes[22], 2);
    memcpy(&wav.rate, &bytes[24], 4);
    wav.channels = channels;
    wav.samples.resize(data / 2);
    memcpy(wav.samples.data(), &bytes[44], data);
    return wav;
}

bool samePicture(const std::string& a, const std::string& b) {
    cv::Mat x = cv::imread(a), y = cv::imread(b);
    return !x.empty() && x.size() == y.size() && cv::norm(x, y, cv::NORM_INF) == 0;
}

class Capture : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("torvanel-capture-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string file(const std::string& name) const { return (dir / name).string(); }
    fs::path dir;
};

}  // namespace

// Frame 0 at raw 37.484 (scene 34.5: mesh target A shown but not drawn) and
// at raw 163.396 (scene 160.5: target B the same), and the frame after each,
// against the same times rendered alone; the sound of both captures.
TEST_F(Capture, FramesEqualTheirTimesRenderedAloneAndTheSoundFollows) {
    struct Range {
        double from;
        int fps;
        std::string out;
    };
    const Range ranges[] = {{37.484, 24, "a"}, {163.396, 60, "b"}};
    std::string alone = "--size 640x360";
    for (const Range& r : ranges) {
        fs::create_directories(dir / r.out);
        double to = r.from + 2.5 / r.fps;
        ASSERT_EQ(run("--size 640x360 --from " + exact(r.from) + " --to " + exact(to) + " --fps " +
                      std::to_string(r.fps) + " --out " + file(r.out)),
                  0);
        for (int k = 0; k < 2; k++)
            alone += " --at " + exact(r.from + double(k) / r.fps) + " " + file(r.out + "_" + std::to_string(k) + ".png");
    }
    ASSERT_EQ(run(alone), 0) << alone;

    std::vector<int16_t> pcm;
    ASSERT_TRUE(decodeSoundtrack(TORVANEL_SOURCE_DIR "/Resources/music/Velmora.mp3", &pcm));
    for (const Range& r : ranges) {
        EXPECT_FALSE(fs::exists(file(r.out + "/frame_000003.png")));  // 2.5 frames' time: frames 0, 1 and 2
        for (int k = 0; k < 2; k++) {
            std::string captured = file(r.out + "/frame_00000" + std::to_string(k) + ".png");
            EXPECT_TRUE(samePicture(captured, file(r.out + "_" + std::to_string(k) + ".png"))) << captured;
        }
        Wav wav = readWav(file(r.out + "/soundtrack.wav"));
        EXPECT_EQ(wav.channels, 2);
        EXPECT_EQ(wav.rate, 44100);
        double to = r.from + 2.5 / r.fps;
        ASSERT_EQ(wav.samples.size(), size_t(std::llround((to - r.from) * 44100)) * 2) << r.out;
        size_t first = size_t(std::floor(r.from * 44100)) * 2;
        for (size_t i = 0; i < 200; i++) ASSERT_EQ(wav.samples[i], pcm[first + i]) << r.out << " sample " << i;
    }
}

// Starts a capture of 20 s at 10 fps in the background.
pid_t startCapture(const std::string& out, const std::string& video) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    if (chdir(TORVANEL_SOURCE_DIR) != 0) _exit(127);
    unsetenv("DISPLAY");
    if (!freopen("/dev/null", "w", stderr)) _exit(127);
    if (video.empty())
        execl(CAPTURE_EXE, CAPTURE_EXE, "--size", "320x180", "--from", "20", "--to", "40", "--fps", "10", "--out",
              out.c_str(), nullptr);
    else
        execl(CAPTURE_EXE, CAPTURE_EXE, "--size", "320x180", "--from", "20", "--to", "40", "--fps", "10", "--out",
              out.c_str(), "--video", video.c_str(), nullptr);
    _exit(127);
}

void waitFor(const std::string& path) {
    for (int wait = 0; wait < 1200 && !fs::exists(path); wait++)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

int stopAndWait(pid_t pid) {
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Ctrl-C part-way: status 130, every PNG written readable, the WAV cut to the
// frames' length and valid; in a video capture, no video.
TEST_F(Capture, StoppingLeavesValidFilesAndNoVideo) {
    pid_t pid = startCapture(dir.string(), "");
    ASSERT_GT(pid, 0);
    waitFor(file("frame_000002.png"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(stopAndWait(pid), 130);
    int frames = 0;
    for (char name[32]; snprintf(name, sizeof name, "frame_%06d.png", frames), fs::exists(file(name)); frames++)
        EXPECT_FALSE(cv::imread(file(name)).empty()) << name;
    ASSERT_GE(frames, 3);
    EXPECT_LT(frames, 200);
    EXPECT_EQ(readWav(file("soundtrack.wav")).samples.size(), size_t(frames) * 4410 * 2);

    if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0) return;
    fs::path videoDir = dir / "video";
    fs::create_directories(videoDir);
    pid = startCapture(videoDir.string(), (videoDir / "show.mp4").string());
    waitFor((videoDir / "soundtrack.wav").string());
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_EQ(stopAndWait(pid), 130);
    Wav wav = readWav((videoDir / "soundtrack.wav").string());
    EXPECT_EQ(wav.channels, 2);  // valid, and as long as whole frames
    EXPECT_EQ(wav.samples.size() % (4410 * 2), 0u);
    EXPECT_LT(wav.samples.size(), size_t(200) * 4410 * 2);
    EXPECT_FALSE(fs::exists(videoDir / "show.mp4"));
}

// A short capture straight into an mp4 when ffmpeg is there.
TEST_F(Capture, VideoHoldsTheFramesAndTheSound) {
    if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0) GTEST_SKIP() << "no ffmpeg";
    ASSERT_EQ(run("--from 60 --to 60.5 --fps 24 --size 320x180 --out " + file("") + " --video " + file("show.mp4")), 0);
    EXPECT_FALSE(fs::exists(file("frame_000000.png")));
    std::string probe = "ffprobe -v error -count_frames -show_entries stream=codec_name,nb_read_frames -of csv=p=0 " +
                        file("show.mp4") + " > " + file("probe.txt");
    ASSERT_EQ(std::system(probe.c_str()), 0);
    std::ifstream in(file("probe.txt"));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("h264,12"), std::string::npos) << text;
    EXPECT_NE(text.find("aac"), std::string::npos) << text;
}
