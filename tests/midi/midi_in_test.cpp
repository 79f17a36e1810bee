#include "midi/midi_in.h"
#include "midi/nano_kontrol2.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

bool sequencerPresent() { return std::filesystem::exists("/dev/snd/seq"); }

TEST(MidiIn, BaseDispatcherNamesEveryNotification) {
    MidiIn in;
    testing::internal::CaptureStdout();
    in.handle_midi(MIM_DATA, 0x90 | 0x3C << 8 | 0x64 << 16, 1234);
    for (uint32_t msg : {MIM_OPEN, MIM_CLOSE, MIM_LONGDATA, MIM_ERROR, MIM_LONGERROR, MIM_MOREDATA, 0u})
        in.handle_midi(msg, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "MidiIn::on_message() : ch_msg=90, data1=3c, data2=64, data3=00\n"
              "wMsg=MIM_OPEN\n"
              "wMsg=MIM_CLOSE\n"
              "wMsg=MIM_LONGDATA\n"
              "wMsg=MIM_ERROR\n"
              "wMsg=MIM_LONGERROR\n"
              "wMsg=MIM_MOREDATA\n"
              "wMsg = unknown\n");
}

// Without an ALSA sequencer the list is only its header, the start fails with
// the library's text, and the surface stays closed and usable.
TEST(MidiInWithoutSequencer, EmptyListAndFailedStart) {
    if (sequencerPresent()) GTEST_SKIP() << "this machine has a MIDI sequencer";
    testing::internal::CaptureStdout();
    MidiIn::printDeviceNames();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "======== MidiIn::printDeviceNames() ========\n");

    const std::string line = "MidiIn::start() : midiInOpen() failed...err="
                             "MidiInAlsa::initialize: error creating ALSA sequencer client object.\n";
    MyNanoKONTROL2 surface;
    testing::internal::CaptureStdout();
    const bool started = surface.start();
    const bool again = surface.start();  // no state left behind by the first try
    EXPECT_EQ(testing::internal::GetCapturedStdout(), line + line);
    EXPECT_FALSE(started);
    EXPECT_FALSE(again);
    EXPECT_EQ(surface.handle, nullptr);

    surface.handle_midi(MIM_DATA, 0xB0 | 43 << 8 | 127 << 16, 0);
    EXPECT_EQ(surface.toggle(NANO_KONTROL2_BUTTON_BACK), 1);
}

// The show ends with exit(0), which destroys its static surface.
TEST(MidiInWithoutSequencer, ExitAfterFailedStartIsClean) {
    if (sequencerPresent()) GTEST_SKIP() << "this machine has a MIDI sequencer";
    EXPECT_EXIT(
        {
            static MyNanoKONTROL2 surface;
            surface.start();
            exit(0);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
