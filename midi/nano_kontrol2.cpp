#include "midi/nano_kontrol2.h"

#include <cstdio>

static std::map<uint8_t, std::string> buildControlNames() {
    std::map<uint8_t, std::string> names;
    struct Range { uint8_t first; const char* format; };
    static const Range ranges[] = {
        {NANO_KONTROL2_FADER_0, "NANO_KONTROL2_FADER_%d"},
        {NANO_KONTROL2_ROTARY_KNOB_0, "NANO_KONTROL2_ROTARY_KNOB_%d"},
        {NANO_KONTROL2_BUTTON_0_S, "NANO_KONTROL2_BUTTON_%d_S"},
        {NANO_KONTROL2_BUTTON_0_M, "NANO_KONTROL2_BUTTON_%d_M"},
        {NANO_KONTROL2_BUTTON_0_R, "NANO_KONTROL2_BUTTON_%d_R"},
    };
    for (const Range& r : ranges) {
        for (int n = 0; n < 8; n++) {
            char name[40];
            snprintf(name, sizeof name, r.format, n);
            names[uint8_t(r.first + n)] = name;
        }
    }
    names[NANO_KONTROL2_BUTTON_PLAY] = "NANO_KONTROL2_BUTTON_PLAY";
    names[NANO_KONTROL2_BUTTON_STOP] = "NANO_KONTROL2_BUTTON_STOP";
    names[NANO_KONTROL2_BUTTON_BACK] = "NANO_KONTROL2_BUTTON_BACK";
    names[NANO_KONTROL2_BUTTON_FOWARD] = "NANO_KONTROL2_BUTTON_FOWARD";
    names[NANO_KONTROL2_BUTTON_REC] = "NANO_KONTROL2_BUTTON_REC";
    names[NANO_KONTROL2_BUTTON_CYCLE] = "NANO_KONTROL2_BUTTON_CYCLE";
    names[NANO_KONTROL2_BUTTON_TRACK_BACK] = "NANO_KONTROL2_BUTTON_TRACK_BACK";
    names[NANO_KONTROL2_BUTTON_TRACK_FOWARD] = "NANO_KONTROL2_BUTTON_TRACK_FOWARD";
    names[NANO_KONTROL2_BUTTON_MARKER_SET] = "NANO_KONTROL2_BUTTON_MARKER_SET";
    names[NANO_KONTROL2_BUTTON_MARKER_BACK] = "NANO_KONTROL2_BUTTON_MARKER_BACK";
    names[NANO_KONTROL2_BUTTON_MARKER_FOWARD] = "NANO_KONTROL2_BUTTON_MARKER_FOWARD";
    return names;
}

const std::map<uint8_t, std::string>& NanoKONTROL2::controlNames() {
    // Built on first use, so it outlives any surface with static storage.
    static const std::map<uint8_t, std::string> names = buildControlNames();
    return names;
}

const char* NanoKONTROL2::controlName(uint8_t cc) {
    // Read-only: the MIDI thread looks names up while others may construct.
    auto it = controlNames().find(cc);
    return it == controlNames().end() ? "" : it->second.c_str();
}

NanoKONTROL2::NanoKONTROL2() { controlNames(); }

// Stop the MIDI thread before this object's handlers go away.
NanoKONTROL2::~NanoKONTROL2() { close(); }
MyNanoKONTROL2::~MyNanoKONTROL2() { close(); }

void NanoKONTROL2::handle_midi(uint32_t msg, uint32_t param1, uint32_t param2) {
    if (msg == MIM_DATA) MidiIn::handle_midi(msg, param1, param2);
}

void NanoKONTROL2::on_message(uint8_t&, uint8_t& data1, uint8_t& data2, uint8_t&) {
    const uint8_t k = data1, v = data2;
    if (k >= kControllers) return;
    const float stored = float(v + 0.0001);
    values[k].store(stored, std::memory_order_relaxed);

    const bool on = double(stored) > 0.1;
    int32_t state = toggles[k].load(std::memory_order_relaxed);
    if (state == 0 && on) state = 1;
    else if (state == 1 && !on) state = 2;
    else if (state == 2 && on) state = 0;
    toggles[k].store(state, std::memory_order_relaxed);

    const bool continuous = k <= NANO_KONTROL2_FADER_7 ||
                            (k >= NANO_KONTROL2_ROTARY_KNOB_0 && k <= NANO_KONTROL2_ROTARY_KNOB_7);
    if (continuous) on_change(k, v);
    else if (v != 0) on_press_button(k);
    else on_release_button(k);
}

void NanoKONTROL2::on_press_button(uint8_t cc) {
    printf("NanoKONTROL2::on_press_button() : cc=%s\n", controlName(cc));
}

void NanoKONTROL2::on_release_button(uint8_t cc) {
    printf("NanoKONTROL2::on_release_button() : cc=%s\n", controlName(cc));
}

void NanoKONTROL2::on_change(uint8_t cc, uint8_t value) { printf("%d => %d", cc, value); }

float NanoKONTROL2::value(int cc) const {
    return cc >= 0 && cc < kControllers ? values[cc].load(std::memory_order_relaxed) : 0.0f;
}

int32_t NanoKONTROL2::toggle(int cc) const {
    return cc >= 0 && cc < kControllers ? toggles[cc].load(std::memory_order_relaxed) : 0;
}

void NanoKONTROL2::setValue(int cc, float v) {
    if (cc >= 0 && cc < kControllers) values[cc].store(v, std::memory_order_relaxed);
}
