#include "midi/nano_kontrol2.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

uint32_t cc(uint8_t data1, uint8_t data2, uint8_t status = 0xB0) {
    return status | uint32_t(data1) << 8 | uint32_t(data2) << 16;
}

// Delivers the messages from a thread of its own, as the MIDI system does.
void inject(MidiIn& in, const std::vector<uint32_t>& messages) {
    std::thread midi([&] {
        for (uint32_t m : messages) in.handle_midi(MIM_DATA, m, 0);
    });
    midi.join();
}

struct Recorder : NanoKONTROL2 {
    std::string log;
    void on_press_button(uint8_t k) override { log += "press " + std::to_string(k) + ";"; }
    void on_release_button(uint8_t k) override { log += "release " + std::to_string(k) + ";"; }
    void on_change(uint8_t k, uint8_t v) override {
        log += "change " + std::to_string(k) + "=" + std::to_string(v) + ";";
    }
};

TEST(NanoKontrol2, StoresLastValuesAndDispatchesByKind) {
    Recorder surface;
    inject(surface, {cc(NANO_KONTROL2_FADER_3, 0), cc(40, 100, 0x90), cc(100, 127), cc(255, 127)});
    EXPECT_FLOAT_EQ(surface.value(3), 0.0001f);  // moved to the bottom, not untouched
    EXPECT_EQ(surface.value(4), 0.0f);
    EXPECT_FLOAT_EQ(surface.value(40), 100.0001f);  // a note-on is a button press
    EXPECT_EQ(surface.log, "change 3=0;press 40;");

    EXPECT_EQ(surface.value(100), 0.0f);
    surface.setValue(NANO_KONTROL2_ROTARY_KNOB_6, 12.5f);
    surface.setValue(100, 5.0f);
    EXPECT_EQ(surface.value(22), 12.5f);
    EXPECT_EQ(surface.value(100), 0.0f);
    EXPECT_EQ(surface.toggle(-1), 0);
}

TEST(NanoKontrol2, ButtonTogglesPressLatchPressOff) {
    Recorder surface;
    std::vector<int> states;
    for (uint8_t v : {127, 0, 127, 0}) {
        inject(surface, {cc(NANO_KONTROL2_BUTTON_CYCLE, v)});
        states.push_back(surface.toggle(46));
    }
    EXPECT_EQ(states, (std::vector<int>{1, 2, 0, 0}));
    EXPECT_EQ(surface.log, "press 46;release 46;press 46;release 46;");
}

TEST(NanoKontrol2, NameTableIsFilledOnce) {
    NanoKONTROL2 first;
    MyNanoKONTROL2 second;
    EXPECT_EQ(NanoKONTROL2::controlNames().size(), 51u);
    EXPECT_STREQ(NanoKONTROL2::controlName(35), "NANO_KONTROL2_BUTTON_3_S");
    EXPECT_STREQ(NanoKONTROL2::controlName(71), "NANO_KONTROL2_BUTTON_7_R");
    EXPECT_STREQ(NanoKONTROL2::controlName(62), "NANO_KONTROL2_BUTTON_MARKER_FOWARD");
    EXPECT_STREQ(NanoKONTROL2::controlName(40), "");
    EXPECT_EQ(NanoKONTROL2::controlNames().size(), 51u);
}

// The base handlers print; the show's surface keeps the tables silently.
TEST(NanoKontrol2, ConsoleTexts) {
    NanoKONTROL2 base;
    MyNanoKONTROL2 show;
    const std::vector<uint32_t> messages = {cc(46, 127), cc(46, 0), cc(3, 0), cc(40, 1)};
    testing::internal::CaptureStdout();
    inject(base, messages);
    inject(show, messages);
    base.handle_midi(MIM_ERROR, 0, 0);
    show.handle_midi(MIM_LONGERROR, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "NanoKONTROL2::on_press_button() : cc=NANO_KONTROL2_BUTTON_CYCLE\n"
              "NanoKONTROL2::on_release_button() : cc=NANO_KONTROL2_BUTTON_CYCLE\n"
              "3 => 0"
              "NanoKONTROL2::on_press_button() : cc=\n");
    EXPECT_EQ(show.toggle(46), 2);
}

}  // namespace
