#include "midi/midi_out.h"

#include <cstdio>

#include <rtmidi/RtMidi.h>

namespace {

class RtMidiOutPort : public MidiOutPort {
public:
    RtMidiOut out;
    bool reported = false;  // the first error printed, later ones dropped

    explicit RtMidiOutPort(RtMidi::Api api) : out(api, "Torvanel") { out.setErrorCallback(onError, this); }

    void send(uint8_t status, uint8_t data1, uint8_t data2) override {
        const unsigned char message[3] = {status, data1, data2};
        out.sendMessage(message, sizeof message);
    }

    static void onError(RtMidiError::Type, const std::string& text, void* self) {
        RtMidiOutPort& port = *static_cast<RtMidiOutPort*>(self);
        if (port.reported) return;
        port.reported = true;
        printf("MidiOut - %s\n", text.c_str());
    }
};

}  // namespace

std::unique_ptr<MidiOutPort> openMidiOutPort(const std::string& nameFragment) {
    try {
        // The input's back end, so both list the same sequencer.
        auto port = std::make_unique<RtMidiOutPort>(RtMidi::LINUX_ALSA);
        const unsigned count = port->out.getPortCount();
        for (unsigned i = 0; i < count; i++) {
            if (port->out.getPortName(i).find(nameFragment) == std::string::npos) continue;
            port->out.openPort(i, "Torvanel lights");
            if (port->out.isPortOpen()) return port;
        }
    } catch (const RtMidiError& e) {
        printf("MidiOut - %s\n", e.what());
    }
    return nullptr;
}
