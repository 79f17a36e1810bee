#include "midi/surface_lights.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Message = std::array<int, 3>;

struct RecordingPort : MidiOutPort {
    std::vector<Message>* sent;
    explicit RecordingPort(std::vector<Message>* log) : sent(log) {}
    void send(uint8_t status, uint8_t data1, uint8_t data2) override { sent->push_back({status, data1, data2}); }
};

constexpr int CC = 0xB0, FORWARD = 44, CYCLE = 46, RECORD = 45;

struct LightsTest : testing::Test {
    std::vector<Message> sent;
    SurfaceLights lights;
    void SetUp() override { lights.port = std::make_unique<RecordingPort>(&sent); }
    // What one frame's update sent.
    std::vector<Message> frame(bool paused, bool looping, bool mark, double now) {
        sent.clear();
        updateSurfaceLights(lights, paused, looping, mark, now);
        return sent;
    }
};

TEST_F(LightsTest, FirstFrameSetsEveryLightThenOnlyChangesAreSent) {
    EXPECT_EQ(frame(false, false, false, 0), (std::vector<Message>{{CC, FORWARD, 0}, {CC, CYCLE, 0}, {CC, RECORD, 0}}));
    EXPECT_TRUE(frame(false, false, false, 0.02).empty());

    EXPECT_EQ(frame(true, false, false, 0.03), (std::vector<Message>{{CC, FORWARD, 127}}));
    EXPECT_TRUE(frame(true, false, false, 0.05).empty());
    EXPECT_EQ(frame(true, true, false, 0.07), (std::vector<Message>{{CC, CYCLE, 127}}));
    EXPECT_EQ(frame(false, true, false, 0.08), (std::vector<Message>{{CC, FORWARD, 0}}));
    EXPECT_EQ(frame(false, false, false, 0.09), (std::vector<Message>{{CC, CYCLE, 0}}));
    EXPECT_TRUE(frame(false, false, false, 0.1).empty());
}

TEST_F(LightsTest, AStoredMarkLightsRecordForHalfASecond) {
    frame(false, false, false, 10);
    EXPECT_EQ(frame(false, false, true, 10), (std::vector<Message>{{CC, RECORD, 127}}));
    EXPECT_TRUE(frame(false, false, false, 10.2).empty());
    // A second mark while lit keeps it lit half a second from then.
    EXPECT_TRUE(frame(false, false, true, 10.3).empty());
    EXPECT_TRUE(frame(false, false, false, 10.6).empty());
    EXPECT_EQ(frame(false, false, false, 10.8), (std::vector<Message>{{CC, RECORD, 0}}));
    EXPECT_TRUE(frame(false, false, false, 12).empty());
    // A frame slower than the light: lit and put out by the next frame.
    EXPECT_EQ(frame(false, false, true, 20), (std::vector<Message>{{CC, RECORD, 127}}));
    EXPECT_EQ(frame(false, false, false, 21), (std::vector<Message>{{CC, RECORD, 0}}));
}

TEST_F(LightsTest, ChangesInOneFrameGoOutTogether) {
    frame(false, false, false, 0);
    EXPECT_EQ(frame(true, true, true, 1),
              (std::vector<Message>{{CC, FORWARD, 127}, {CC, CYCLE, 127}, {CC, RECORD, 127}}));
    EXPECT_EQ(frame(false, false, false, 2), (std::vector<Message>{{CC, FORWARD, 0}, {CC, CYCLE, 0}, {CC, RECORD, 0}}));
}

TEST(SurfaceLights, WithoutAPortNothingHappens) {
    SurfaceLights lights;
    for (double now : {0.0, 1.0, 2.0}) updateSurfaceLights(lights, true, true, true, now);
    EXPECT_EQ(lights.port, nullptr);
    EXPECT_EQ(lights.sent[0], -1);
}

// Without an ALSA sequencer the open finds no port and says so in one line.
TEST(SurfaceLights, NoSequencerLeavesTheLightsDarkWithOneLine) {
    if (std::filesystem::exists("/dev/snd/seq")) GTEST_SKIP() << "this machine has a MIDI sequencer";
    SurfaceLights lights;
    testing::internal::CaptureStdout();
    openSurfaceLights(lights);
    for (int i = 0; i < 10; i++) updateSurfaceLights(lights, i % 2, true, true, i);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(lights.port, nullptr);
    EXPECT_LE(std::count(out.begin(), out.end(), '\n'), 1) << out;
}

}  // namespace
