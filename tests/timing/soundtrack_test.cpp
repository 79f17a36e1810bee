// The soundtrack back end against real mp3 files made here with lame, played
// through SDL's disk driver, which writes what the output mixed to a file.
#include "timing/soundtrack.h"
#include "timing/show_clock.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int SWEEP_FRAMES = 2 * SOUNDTRACK_RATE;  // 2 s
constexpr uint64_t BYTES_PER_MS = SOUNDTRACK_BYTES_PER_SECOND / 1000;

void writeWav(const std::string& path, int rate, int channels, const std::vector<int16_t>& pcm) {
    auto le = [](std::ofstream& f, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f.put(char((v >> (8 * i)) & 0xff));
    };
    uint32_t dataBytes = uint32_t(pcm.size() * 2);
    std::ofstream f(path, std::ios::binary);
    f << "RIFF";
    le(f, 36 + dataBytes, 4);
    f << "WAVEfmt ";
    le(f, 16, 4); le(f, 1, 2); le(f, channels, 2); le(f, rate, 4);
    le(f, rate * channels * 2, 4); le(f, channels * 2, 2); le(f, 16, 2);
    f << "data";
    le(f, dataBytes, 4);
    for (int16_t s : pcm) le(f, uint16_t(s), 2);
}

// Left: a rising chirp, right: a fading-in 440 Hz tone, so every stretch of
// the sound is unlike every other.
std::vector<int16_t> sweep() {
    std::vector<int16_t> pcm;
    double phase = 0;
    for (int i = 0; i < SWEEP_FRAMES; ++i) {
        double t = double(i) / SOUNDTRACK_RATE;
        phase += 2 * M_PI * (300 + 750 * t) / SOUNDTRACK_RATE;
        pcm.push_back(int16_t(8000 * std::sin(phase)));
        pcm.push_back(int16_t(6000 * (t / 2) * std::sin(2 * M_PI * 440 * t)));
    }
    return pcm;
}

std::vector<char> readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

size_t lineCount(const std::string& s) { return size_t(std::count(s.begin(), s.end(), '\n')); }

class Soundtrack : public testing::Test {
protected:
    static void SetUpTestSuite() {
        char folder[] = "/tmp/torvanel-soundtrack-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir = folder;
        haveLame = std::system("lame --version > /dev/null 2>&1") == 0;
        if (!haveLame) return;
        original = sweep();
        writeWav(dir + "/sweep.wav", SOUNDTRACK_RATE, 2, original);
        std::vector<int16_t> mono;
        for (int i = 0; i < 22050; ++i) mono.push_back(int16_t(7000 * std::sin(2 * M_PI * 500 * i / 22050.0)));
        writeWav(dir + "/mono.wav", 22050, 1, mono);
        ASSERT_EQ(std::system(("lame --quiet -b 192 " + dir + "/sweep.wav " + dir + "/sweep.mp3").c_str()), 0);
        ASSERT_EQ(std::system(("lame --quiet -m m --resample 22.05 -b 64 " + dir + "/mono.wav " + dir + "/mono.mp3").c_str()), 0);
        std::ofstream(dir + "/text.mp3") << std::string(20000, 'x');
    }
    static void TearDownTestSuite() { std::system(("rm -rf " + dir).c_str()); }

    void SetUp() override {
        if (!haveLame) GTEST_SKIP() << "lame is not installed";
    }
    void TearDown() override { soundtrackFree(); }

    // Opens SDL's disk driver, which writes the mix to a file at about real-time pace.
    void openDiskOutput() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (dir + "/out.raw").c_str(), 1);
        ASSERT_TRUE(soundtrackInit());
        ASSERT_TRUE(soundtrackStart());
    }

    static bool waitForPosition(uint32_t channel, uint64_t atLeast) {
        for (int tries = 0; tries < 1000; ++tries) {  // gives up after about 5 s
            uint64_t at = 0;
            if (soundtrackGetPosition(channel, &at) && at >= atLeast) return true;
            SDL_Delay(5);
        }
        return false;
    }

    static std::string dir;
    static bool haveLame;
    static std::vector<int16_t> original;
};

std::string Soundtrack::dir;
bool Soundtrack::haveLame = false;
std::vector<int16_t> Soundtrack::original;

TEST_F(Soundtrack, DecodesStereoToItsOriginalLengthAndSound) {
    std::vector<int16_t> pcm;
    ASSERT_TRUE(decodeSoundtrack((dir + "/sweep.mp3").c_str(), &pcm));
    ASSERT_EQ(pcm.size(), original.size());  // encoder delay and padding trimmed
    double signal = 0, noise = 0;
    for (size_t i = 0; i < pcm.size(); ++i) {
        signal += double(original[i]) * original[i];
        noise += (double(pcm[i]) - original[i]) * (double(pcm[i]) - original[i]);
    }
    EXPECT_GT(signal / noise, 100.0);  // better than 20 dB: in step, not shifted
}

// The show decodes while it loads, on a thread of its own: decoders running
// side by side give the samples of one on this thread.
TEST_F(Soundtrack, DecodesTheSameOnOtherThreads) {
    const std::string path = dir + "/sweep.mp3";
    std::vector<int16_t> here;
    ASSERT_TRUE(decodeSoundtrack(path.c_str(), &here));
    std::vector<int16_t> there[2];
    std::future<bool> done[2];
    for (int k = 0; k < 2; ++k)
        done[k] = std::async(std::launch::async, [&, k] { return decodeSoundtrack(path.c_str(), &there[k]); });
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(done[k].get());
        EXPECT_TRUE(there[k] == here) << "thread " << k;
    }
}

TEST_F(Soundtrack, DecodesMonoAtAnotherRateToStereoAt44100) {
    std::vector<int16_t> pcm;
    ASSERT_TRUE(decodeSoundtrack((dir + "/mono.mp3").c_str(), &pcm));
    size_t frames = pcm.size() / 2;
    EXPECT_NEAR(double(frames), SOUNDTRACK_RATE, 64);  // 1 s
    size_t equal = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2) equal += pcm[i] == pcm[i + 1];
    EXPECT_EQ(equal, frames);
}

TEST_F(Soundtrack, RefusesMissingAndNonMp3FilesWithOneLine) {
    for (std::string path : {dir + "/none.mp3", dir + "/text.mp3", dir}) {
        std::vector<int16_t> pcm{1, 2};
        testing::internal::CaptureStdout();
        EXPECT_FALSE(decodeSoundtrack(path.c_str(), &pcm)) << path;
        std::string said = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(pcm.empty());
        EXPECT_EQ(lineCount(said), 1u) << said;
        EXPECT_NE(said.find(path), std::string::npos) << said;
    }
}

// An 8 KB mp3 whose tag claims 0xFFFFFFFF frames: the claim sizes nothing,
// the file decodes to what it really holds.
TEST_F(Soundtrack, AClaimedLengthBeyondTheFileSizesNothing) {
    std::vector<char> bytes = readFile(dir + "/sweep.mp3");
    std::string head(bytes.begin(), bytes.begin() + 512);
    size_t tag = head.find("Info");
    if (tag == std::string::npos) tag = head.find("Xing");
    ASSERT_NE(tag, std::string::npos) << "lame wrote no length tag";
    ASSERT_TRUE(bytes[tag + 7] & 1) << "the tag holds no frame count";
    for (int k = 8; k < 12; ++k) bytes[tag + k] = char(0xff);
    bytes.resize(8192);
    std::string path = dir + "/claims.mp3";
    FILE* out = fopen(path.c_str(), "wb");
    ASSERT_TRUE(out && fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size());
    fclose(out);

    std::vector<int16_t> pcm;
    testing::internal::CaptureStdout();
    EXPECT_NO_THROW(decodeSoundtrack(path.c_str(), &pcm));
    testing::internal::GetCapturedStdout();
    EXPECT_LT(pcm.size(), size_t(8192) * 48 * 2);
    EXPECT_LT(pcm.capacity(), size_t(8192) * 48 * 2 + 65536 * 2);
}

TEST_F(Soundtrack, PlaysSeeksAndIsHeardFromTheNewPosition) {
    openDiskOutput();
    uint32_t sample = soundtrackLoadSample((dir + "/sweep.mp3").c_str());
    ASSERT_NE(sample, 0u);
    uint32_t channel = soundtrackGetChannel(sample);
    ASSERT_NE(channel, 0u);
    EXPECT_EQ(soundtrackGetChannel(sample), channel);
    EXPECT_EQ(soundtrackGetChannel(channel), 0u);  // a channel is not a sample
    EXPECT_FALSE(soundtrackPlay(sample));

    ASSERT_TRUE(soundtrackPlay(channel));
    ASSERT_TRUE(waitForPosition(channel, 200 * BYTES_PER_MS));
    const uint64_t seekTo = SOUNDTRACK_BYTES_PER_SECOND;  // 1 s
    ASSERT_TRUE(soundtrackSetPosition(channel, int64_t(seekTo)));
    uint64_t at = 0;
    ASSERT_TRUE(soundtrackGetPosition(channel, &at));
    EXPECT_GE(at, seekTo);
    EXPECT_LT(at, seekTo + 100 * BYTES_PER_MS);

    // A negative time or one past the end leaves playback where it is.
    EXPECT_FALSE(soundtrackSetPosition(channel, -4));
    EXPECT_FALSE(soundtrackSetPosition(channel, int64_t(original.size() * 2 + 4)));
    uint64_t after = 0;
    ASSERT_TRUE(soundtrackGetPosition(channel, &after));
    EXPECT_GE(after, seekTo);
    EXPECT_LT(after, seekTo + 100 * BYTES_PER_MS);
    EXPECT_EQ(after % SOUNDTRACK_BYTES_PER_FRAME, 0u);

    ASSERT_TRUE(waitForPosition(channel, seekTo + 200 * BYTES_PER_MS));
    soundtrackFree();  // closes the disk file

    // What was heard: silence until play, the start, then the sound from 1 s on.
    std::vector<int16_t> pcm;
    ASSERT_TRUE(decodeSoundtrack((dir + "/sweep.mp3").c_str(), &pcm));
    std::vector<char> raw = readFile(dir + "/out.raw");
    std::vector<int16_t> heard(raw.size() / 2);
    memcpy(heard.data(), raw.data(), heard.size() * 2);
    size_t h = 0, p = 0;
    while (h < heard.size() && heard[h] == 0) ++h;
    while (p < pcm.size() && pcm[p] == 0) ++p;
    size_t start = h;
    while (h < heard.size() && p < pcm.size() && heard[h] == pcm[p]) ++h, ++p;
    EXPECT_GE(h - start, size_t(0.2 * SOUNDTRACK_RATE * 2));
    EXPECT_LT(h - start, size_t(1.0 * SOUNDTRACK_RATE * 2));
    size_t jump = h;
    for (p = seekTo / 2; h < heard.size() && p < pcm.size() && heard[h] == pcm[p];) ++h, ++p;
    EXPECT_GE(h - jump, size_t(0.2 * SOUNDTRACK_RATE * 2));
    for (; h < heard.size(); ++h) ASSERT_EQ(heard[h], 0) << "unexpected sound at " << h;
}

// The drift rule: the music is moved to the show time only past 50 ms of
// drift, and a negative show time leaves it playing where it is.
TEST_F(Soundtrack, FollowsTheShowTimeOnlyPastTheDrift) {
    openDiskOutput();
    uint32_t channel = soundtrackGetChannel(soundtrackLoadSample((dir + "/sweep.mp3").c_str()));
    ASSERT_TRUE(soundtrackPlay(channel));
    auto position = [&] {
        uint64_t at = 0;
        soundtrackGetPosition(channel, &at);
        return double(at) / SOUNDTRACK_BYTES_PER_SECOND;
    };
    followShowTime(channel, 1.5);  // far ahead of the music: moved
    EXPECT_NEAR(position(), 1.5, 0.03);
    double before = position();
    followShowTime(channel, before + 0.04);  // within the drift: left alone
    EXPECT_NEAR(position(), before, 0.03);
    followShowTime(channel, -100.0);  // no position for a negative time
    EXPECT_NEAR(position(), before, 0.03);
    followShowTime(channel, 0.2);  // behind: moved back
    EXPECT_NEAR(position(), 0.2, 0.03);
}

TEST_F(Soundtrack, StaysAtTheEndUntilSetBack) {
    openDiskOutput();
    uint32_t channel = soundtrackGetChannel(soundtrackLoadSample((dir + "/sweep.mp3").c_str()));
    ASSERT_TRUE(soundtrackPlay(channel));
    const uint64_t end = original.size() * 2;
    ASSERT_TRUE(soundtrackSetPosition(channel, int64_t(end - 50 * BYTES_PER_MS - 2)));
    uint64_t at = 0;
    ASSERT_TRUE(soundtrackGetPosition(channel, &at));
    EXPECT_EQ(at % SOUNDTRACK_BYTES_PER_FRAME, 0u);  // whole frames only
    ASSERT_TRUE(waitForPosition(channel, end));
    SDL_Delay(60);
    ASSERT_TRUE(soundtrackGetPosition(channel, &at));
    EXPECT_EQ(at, end);
    ASSERT_TRUE(soundtrackSetPosition(channel, 0));
    EXPECT_TRUE(waitForPosition(channel, 50 * BYTES_PER_MS));
}

TEST_F(Soundtrack, RefusesWhatItCannotLoadOrFind) {
    openDiskOutput();
    testing::internal::CaptureStdout();
    EXPECT_EQ(soundtrackLoadSample((dir + "/none.mp3").c_str()), 0u);
    EXPECT_EQ(lineCount(testing::internal::GetCapturedStdout()), 1u);
    for (uint32_t stale : {0u, 1u, 7u, 0x80000000u, 0x80000001u, 0xffffffffu}) {
        uint64_t at = 99;
        EXPECT_EQ(soundtrackGetChannel(stale), 0u);
        EXPECT_FALSE(soundtrackPlay(stale));
        EXPECT_FALSE(soundtrackSetPosition(stale, 0));
        EXPECT_FALSE(soundtrackGetPosition(stale, &at));
        EXPECT_EQ(at, 0u);
    }
}

// The show ends through exit(0) with the music still playing: the audio thread
// must not mix from anything the exit frees.
TEST_F(Soundtrack, ExitsCleanlyWhilePlaying) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            openDiskOutput();
            soundtrackPlay(soundtrackGetChannel(soundtrackLoadSample((dir + "/sweep.mp3").c_str())));
            SDL_Delay(100);
            exit(0);
        },
        testing::ExitedWithCode(0), "");
}

// No driver at all, and a driver whose device cannot be opened: one line
// each, then every call refuses and nothing is decoded.
TEST_F(Soundtrack, RunsSilentWithoutAnOutput) {
    const char* drivers[][2] = {{"no-such-driver", ""}, {"alsa", "no-such-device"}};
    for (auto& driver : drivers) {
        setenv("SDL_AUDIODRIVER", driver[0], 1);
        setenv("AUDIODEV", driver[1], 1);
        testing::internal::CaptureStdout();
        EXPECT_FALSE(soundtrackInit());
        EXPECT_FALSE(soundtrackStart());
        uint32_t sample = soundtrackLoadSample((dir + "/sweep.mp3").c_str());
        uint32_t channel = soundtrackGetChannel(sample);
        uint64_t at = 99;
        EXPECT_EQ(sample, 0u);
        EXPECT_EQ(channel, 0u);
        EXPECT_FALSE(soundtrackPlay(channel));
        EXPECT_FALSE(soundtrackSetPosition(channel, 0));
        EXPECT_FALSE(soundtrackGetPosition(channel, &at));
        EXPECT_EQ(at, 0u);
        EXPECT_EQ(lineCount(testing::internal::GetCapturedStdout()), 1u) << driver[0];
        soundtrackFree();
    }
    unsetenv("AUDIODEV");
}

}  // namespace
