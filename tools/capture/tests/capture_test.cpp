// The capture tool run as a viewer would, headless (no DISPLAY): a capture's
// frames equal the same times rendered alone, the sound track is the decoded
// soundtrack from the first frame on, a stopped capture leaves valid files
// and no video, segments join into the same video as one piece, and what a
// new user runs into (missing or unwritable folders, no data, a range past
// the end, a full disk) ends early with one line.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

std::string readText(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The tool's status, from `folder` (the source folder unless given), its
// standard error in `errors` when asked for.
int run(const std::string& arguments, std::string* errors = nullptr, const std::string& folder = TORVANEL_SOURCE_DIR,
        const std::string& prefix = "") {
    std::string log = fs::temp_directory_path() / ("torvanel-capture-log-" + std::to_string(getpid()));
    std::string command = "cd '" + folder + "' && env -u DISPLAY -u TORVANEL_DATA " + prefix + " " CAPTURE_EXE " " +
                          arguments + " 2>" + log;
    int status = std::system(command.c_str());
    if (errors) *errors = readText(log);
    fs::remove(log);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int lineCount(const std::string& text) { return int(std::count(text.begin(), text.end(), '\n')); }

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

int stopAndWait(pid_t pid, int signal) {
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// SIGTERM part-way: status 143, every PNG written readable, the WAV cut to the
// frames' length and valid; Ctrl-C in a video capture: status 130, no video.
TEST_F(Capture, StoppingLeavesValidFilesAndNoVideo) {
    pid_t pid = startCapture(dir.string(), "");
    ASSERT_GT(pid, 0);
    waitFor(file("frame_000002.png"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(stopAndWait(pid, SIGTERM), 143);
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
    EXPECT_EQ(stopAndWait(pid, SIGINT), 130);
    Wav wav = readWav((videoDir / "soundtrack.wav").string());
    EXPECT_EQ(wav.channels, 2);  // valid, and as long as whole frames
    EXPECT_EQ(wav.samples.size() % (4410 * 2), 0u);
    EXPECT_LT(wav.samples.size(), size_t(200) * 4410 * 2);
    EXPECT_FALSE(fs::exists(videoDir / "show.mp4"));
    for (const fs::directory_entry& entry : fs::directory_iterator(videoDir))
        EXPECT_EQ(entry.path().extension(), ".wav") << entry.path();  // no partial video under another name
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

// Output folders are made when missing; a path that is a file, or a folder
// this user cannot write, is one line naming the reason and status 2 before
// anything is rendered or written.
TEST_F(Capture, OutputFoldersAreMadeOrRefusedWithTheirReason) {
    std::string errors;
    ASSERT_EQ(run("--size 320x180 --at 30 " + file("new/deeper/f.png"), &errors), 0) << errors;
    EXPECT_FALSE(cv::imread(file("new/deeper/f.png")).empty());
    EXPECT_EQ(errors, "") << "quiet unless asked";

    std::ofstream(file("plain")) << "a file";
    EXPECT_EQ(run("--from 30 --to 31 --fps 8 --out " + file("plain/cap"), &errors), 2);
    EXPECT_NE(errors.find("is not a folder"), std::string::npos) << errors;
    EXPECT_EQ(lineCount(errors), 1) << errors;
    EXPECT_EQ(run("--at 30 " + file("plain/f.png"), &errors), 2);
    EXPECT_EQ(run("--from 30 --to 31 --fps 8 --out " + file("v") + " --video " + file("plain/v.mp4"), &errors), 2);
    EXPECT_FALSE(fs::exists(file("v/soundtrack.wav")));

    // Permissions bind only a user who is not root: root runs it as nobody.
    fs::create_directories(dir / "shut");
    fs::permissions(dir, fs::perms::all);
    fs::permissions(dir / "shut", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    std::string asUser = geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "";
    if (geteuid() == 0 && std::system("command -v setpriv > /dev/null") != 0) GTEST_SKIP() << "no setpriv";
    EXPECT_EQ(run("--from 30 --to 31 --fps 8 --out " + file("shut"), &errors, TORVANEL_SOURCE_DIR, asUser), 2)
        << errors;
    EXPECT_NE(errors.find("cannot write into " + file("shut") + ": Permission denied"), std::string::npos) << errors;
    EXPECT_EQ(run("--at 30 " + file("shut/inner/f.png"), &errors, TORVANEL_SOURCE_DIR, asUser), 2) << errors;
    EXPECT_NE(errors.find("cannot make the folder " + file("shut/inner") + ": Permission denied"), std::string::npos)
        << errors;
    EXPECT_TRUE(fs::is_empty(dir / "shut"));
}

// Started where there is no Resources/ (and no installation beside the
// program), the tool says where it looked and writes nothing, leaving the
// frames already there as they were.
TEST_F(Capture, NoDataIsOneLineAndNothingWritten) {
    std::ofstream(file("frame_000000.png")) << "an earlier frame";
    std::string errors;
    EXPECT_EQ(run("--from 30 --to 31 --fps 8 --out .", &errors, dir.string()), 1);
    EXPECT_EQ(lineCount(errors), 1) << errors;
    EXPECT_NE(errors.find("cannot find the show's data (no Resources/ folder) in " + fs::canonical(dir).string()),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("TORVANEL_DATA"), std::string::npos) << errors;
    EXPECT_EQ(readText(file("frame_000000.png")), "an earlier frame");
    EXPECT_FALSE(fs::exists(file("soundtrack.wav")));
    EXPECT_EQ(run("--at 30 f.png", &errors, dir.string()), 1);
    EXPECT_FALSE(fs::exists(file("f.png")));
    // Named by TORVANEL_DATA, the data is read from there and the outputs
    // still land in the working folder.
    ASSERT_EQ(run("--size 320x180 --at 30 f.png", &errors, dir.string(), "TORVANEL_DATA=" TORVANEL_SOURCE_DIR), 0)
        << errors;
    EXPECT_FALSE(cv::imread(file("f.png")).empty());
}

// A range or a time wholly past the show's end is an error, not an empty
// success with a broken WAV.
TEST_F(Capture, PastTheEndIsAnError) {
    std::string errors;
    EXPECT_EQ(run("--from 300 --to 301 --fps 8 --out " + file("late"), &errors), 2);
    EXPECT_NE(errors.find("past the show's end"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(file("late/soundtrack.wav")));
    EXPECT_EQ(run("--at 300 " + file("late.png"), &errors), 2);
    EXPECT_FALSE(fs::exists(file("late.png")));
}

// The loading log only with --verbose; the progress line (not a terminal
// here) ends with every frame counted.
TEST_F(Capture, QuietUnlessVerbose) {
    std::string quiet, verbose;
    ASSERT_EQ(run("--size 320x180 --from 30 --to 30.25 --fps 8 --out " + file("q"), &quiet), 0) << quiet;
    EXPECT_EQ(quiet, "2/2 frames, " + quiet.substr(quiet.find(", ") + 2)) << quiet;
    EXPECT_EQ(lineCount(quiet), 1) << quiet;
    ASSERT_EQ(run("--verbose --size 320x180 --at 30 " + file("v.png"), &verbose), 0);
    EXPECT_GT(lineCount(verbose), 100);
    EXPECT_NE(verbose.find("Reading... Resources//"), std::string::npos);
}

// A disk that fills up: one line naming the file, the frames before it kept
// whole, the WAV exactly their length; a WAV that does not fit leaves nothing.
// Needs root to mount a small tmpfs.
TEST_F(Capture, FullDiskKeepsWholeFilesAndSaysSo) {
    fs::path small = dir / "small";
    fs::create_directories(small);
    std::string mount = "mount -t tmpfs -o size=3m tmpfs " + small.string() + " 2>/dev/null";
    if (geteuid() != 0 || std::system(mount.c_str()) != 0) GTEST_SKIP() << "cannot mount a small tmpfs here";
    std::string errors;
    int status = run("--size 640x360 --from 30 --to 40 --fps 8 --out " + (small / "cap").string(), &errors);
    int frames = 0;
    for (char name[32]; snprintf(name, sizeof name, "frame_%06d.png", frames), fs::exists(small / "cap" / name);
         frames++)
        EXPECT_FALSE(cv::imread((small / "cap" / name).string()).empty()) << name;
    int entries = int(std::distance(fs::directory_iterator(small / "cap"), fs::directory_iterator()));
    Wav wav = readWav((small / "cap/soundtrack.wav").string());

    std::ofstream((small / "filler").string()) << std::string(2 << 20, 'x');
    std::string wavErrors;
    int wavStatus = run("--size 640x360 --from 30 --to 40 --fps 8 --out " + (small / "cap2").string(), &wavErrors);
    bool wavLeft = fs::exists(small / "cap2/soundtrack.wav");
    int entries2 = int(std::distance(fs::directory_iterator(small / "cap2"), fs::directory_iterator()));
    std::system(("umount " + small.string()).c_str());

    EXPECT_EQ(status, 1);
    EXPECT_NE(errors.find("the disk is full: cannot write " + (small / "cap/frame_").string()), std::string::npos)
        << errors;
    EXPECT_GE(frames, 1);
    EXPECT_LT(frames, 80);
    EXPECT_EQ(entries, frames + 1) << "no partial file left";
    EXPECT_EQ(wav.samples.size(), size_t(std::floor(frames * 44100.0 / 8)) * 2);

    EXPECT_EQ(wavStatus, 1);
    EXPECT_NE(wavErrors.find("the disk is full: cannot write " + (small / "cap2/soundtrack.wav").string()),
              std::string::npos)
        << wavErrors;
    EXPECT_FALSE(wavLeft);
    EXPECT_EQ(entries2, 0);
}

// Decoded frames of a video as B, G, R pictures, in order.
std::vector<cv::Mat> decodeFrames(const std::string& video, const std::string& scratch, int width, int height) {
    std::string raw = scratch + "/frames.bgr";
    std::string command = "ffmpeg -v error -y -i " + video + " -f rawvideo -pix_fmt bgr24 " + raw;
    std::vector<cv::Mat> frames;
    if (std::system(command.c_str()) != 0) return frames;
    std::ifstream in(raw, std::ios::binary);
    for (;;) {
        cv::Mat frame(height, width, CV_8UC3);
        if (!in.read(reinterpret_cast<char*>(frame.data), std::streamsize(frame.total() * 3))) break;
        frames.push_back(frame);
    }
    fs::remove(raw);
    return frames;
}

// The number of stereo sample frames in a video's sound, decoded.
long decodedSamples(const std::string& video, const std::string& scratch) {
    std::string raw = scratch + "/decoded.pcm";
    if (std::system(("ffmpeg -v error -y -i " + video + " -vn -f s16le -ac 2 " + raw).c_str()) != 0) return -1;
    long samples = long(fs::file_size(raw) / 4);
    fs::remove(raw);
    return samples;
}

// A capture in 3 segments (7 frames: the first part takes the leftover one)
// joined is the capture in one piece, frame for frame, every frame the PNG
// of its time, and the sound as long.
TEST_F(Capture, SegmentsJoinIntoTheWholeCapture) {
    if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0) GTEST_SKIP() << "no ffmpeg";
    std::string range = "--lossless --size 320x180 --from 60 --to 60.875 --fps 8 ";
    std::string errors;
    for (int k = 1; k <= 3; k++)
        ASSERT_EQ(run(range + "--segment " + std::to_string(k) + "/3 --out " + file("parts"), &errors), 0) << errors;
    ASSERT_EQ(run("--join " + file("joined.mp4") + " " + file("parts/segment_1_of_3.mp4") + " " +
                      file("parts/segment_2_of_3.mp4") + " " + file("parts/segment_3_of_3.mp4"),
                  &errors),
              0)
        << errors;
    ASSERT_EQ(run(range + "--out " + file("whole") + " --video " + file("whole.mp4"), &errors), 0) << errors;
    ASSERT_EQ(run("--size 320x180 --from 60 --to 60.875 --fps 8 --out " + file("png"), &errors), 0) << errors;

    EXPECT_EQ(decodeFrames(file("parts/segment_1_of_3.mp4"), dir.string(), 320, 180).size(), 3u);
    EXPECT_EQ(decodeFrames(file("parts/segment_3_of_3.mp4"), dir.string(), 320, 180).size(), 2u);
    std::vector<cv::Mat> joined = decodeFrames(file("joined.mp4"), dir.string(), 320, 180);
    std::vector<cv::Mat> whole = decodeFrames(file("whole.mp4"), dir.string(), 320, 180);
    ASSERT_EQ(joined.size(), 7u);
    ASSERT_EQ(whole.size(), 7u);
    for (size_t k = 0; k < 7; k++) {
        char name[32];
        snprintf(name, sizeof name, "png/frame_%06zu.png", k);
        cv::Mat png = cv::imread(file(name));
        ASSERT_FALSE(png.empty()) << name;
        EXPECT_EQ(cv::norm(joined[k], png, cv::NORM_INF), 0) << "joined frame " << k;
        EXPECT_EQ(cv::norm(whole[k], png, cv::NORM_INF), 0) << "whole frame " << k;
    }
    long samples = decodedSamples(file("joined.mp4"), dir.string());
    EXPECT_EQ(samples, decodedSamples(file("whole.mp4"), dir.string()));
    EXPECT_GE(samples, long(std::llround(0.875 * 44100)));
}
