// midi_out.h - a MIDI output for short messages, and the opening of an
// output port of the ALSA sequencer found by name.
//
//   std::unique_ptr<MidiOutPort> port = openMidiOutPort("nanoKONTROL2");
//   if (port) port->send(0xB0, 44, 127);   // control change 44, channel 1
//
// A port prints at most one line for all its send errors (a surface pulled
// out while the show runs), then goes on silently.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

struct MidiOutPort {
    virtual ~MidiOutPort() = default;
    virtual void send(uint8_t status, uint8_t data1, uint8_t data2) = 0;
};

// The first output port whose name contains `nameFragment`, opened; null
// when there is none or no sequencer at all. Prints nothing for a missing
// port; one line when a sequencer or port fails to open.
std::unique_ptr<MidiOutPort> openMidiOutPort(const std::string& nameFragment);
