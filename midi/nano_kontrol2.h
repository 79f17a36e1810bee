// nano_kontrol2.h - the control surface in its default control-change mode:
// the last value and a press-release toggle per controller number.
//
// The MIDI thread writes the tables with single relaxed stores; the show
// reads them on the main thread through value() and toggle(), each entry old
// or new, never torn.
#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <string>

#include "midi/midi_in.h"

enum NanoKontrol2Control : uint8_t {
    NANO_KONTROL2_FADER_0 = 0, NANO_KONTROL2_FADER_1, NANO_KONTROL2_FADER_2, NANO_KONTROL2_FADER_3,
    NANO_KONTROL2_FADER_4, NANO_KONTROL2_FADER_5, NANO_KONTROL2_FADER_6, NANO_KONTROL2_FADER_7,
    NANO_KONTROL2_ROTARY_KNOB_0 = 16, NANO_KONTROL2_ROTARY_KNOB_1, NANO_KONTROL2_ROTARY_KNOB_2,
    NANO_KONTROL2_ROTARY_KNOB_3, NANO_KONTROL2_ROTARY_KNOB_4, NANO_KONTROL2_ROTARY_KNOB_5,
    NANO_KONTROL2_ROTARY_KNOB_6, NANO_KONTROL2_ROTARY_KNOB_7,
    NANO_KONTROL2_BUTTON_0_S = 32,  // 32 + n: solo button of strip n
    NANO_KONTROL2_BUTTON_PLAY = 41, NANO_KONTROL2_BUTTON_STOP, NANO_KONTROL2_BUTTON_BACK,
    NANO_KONTROL2_BUTTON_FOWARD, NANO_KONTROL2_BUTTON_REC, NANO_KONTROL2_BUTTON_CYCLE,
    NANO_KONTROL2_BUTTON_0_M = 48,  // 48 + n: mute button of strip n
    NANO_KONTROL2_BUTTON_TRACK_BACK = 58, NANO_KONTROL2_BUTTON_TRACK_FOWARD,
    NANO_KONTROL2_BUTTON_MARKER_SET, NANO_KONTROL2_BUTTON_MARKER_BACK,
    NANO_KONTROL2_BUTTON_MARKER_FOWARD,
    NANO_KONTROL2_BUTTON_0_R = 64,  // 64 + n: record button of strip n
};

class NanoKONTROL2 : public MidiIn {
public:
    static constexpr int kControllers = 100;  // messages with data1 at or above are ignored

    std::atomic<float> values[kControllers] = {};    // last value + 0.0001; 0 = never sent
    std::atomic<int32_t> toggles[kControllers] = {};  // 0 off, 1 pressed, 2 latched

    NanoKONTROL2();
    ~NanoKONTROL2() override;

    // Ignores everything but MIM_DATA, silently.
    void handle_midi(uint32_t msg, uint32_t param1, uint32_t param2) override;
    // Stores and dispatches any short message as a control change.
    void on_message(uint8_t& status, uint8_t& data1, uint8_t& data2, uint8_t& data3) override;
    virtual void on_press_button(uint8_t cc);
    virtual void on_release_button(uint8_t cc);
    virtual void on_change(uint8_t cc, uint8_t value);

    // 0 for a controller number outside the tables.
    float value(int cc) const;
    int32_t toggle(int cc) const;
    // Ignored outside the tables.
    void setValue(int cc, float v);

    // The 51 named controls, shared by all objects and never changed after
    // the first construction.
    static const std::map<uint8_t, std::string>& controlNames();
    // "" for a number without a name.
    static const char* controlName(uint8_t cc);
};

// The surface the show holds: the tables only, no console output.
class MyNanoKONTROL2 : public NanoKONTROL2 {
public:
    ~MyNanoKONTROL2() override;
    void on_press_button(uint8_t) override {}
    void on_release_button(uint8_t) override {}
    void on_change(uint8_t, uint8_t) override {}
};
