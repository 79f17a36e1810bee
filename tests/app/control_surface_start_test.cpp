#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/app_state.h"

// This machine kind has no ALSA sequencer: the start fails with the MIDI
// library's reason and the show's own line, and the surface stays usable.
TEST(ControlSurfaceStart, WithoutASequencerPrintsTwoLinesAndCarriesOn) {
    struct stat st;
    if (stat("/dev/snd/seq", &st) == 0) GTEST_SKIP() << "a MIDI sequencer is present";
    AppState state;
    testing::internal::CaptureStdout();
    startControlSurface(state);
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("MidiIn::start() : midiInOpen() failed...err="), std::string::npos) << out;
    EXPECT_NE(out.find("\nnano_kontrol2.start() failed...\n"), std::string::npos) << out;
    EXPECT_EQ(state.live.controls, &state.controls);
    EXPECT_EQ(state.controls.value(NANO_KONTROL2_BUTTON_FOWARD), 0.0f);
}
