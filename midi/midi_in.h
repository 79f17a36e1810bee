// midi_in.h - one MIDI input device, its short messages handed to a virtual
// handler on the MIDI system's own thread.
//
// Messages arrive the way the Windows multimedia callback delivers them: a
// message id and two parameters, a short message packed into param1 as
// status | data1 << 8 | data2 << 16 | data3 << 24. Device 0 of the ALSA
// sequencer's input list is the one opened.
#pragma once
#include <cstdint>

class RtMidiIn;

constexpr uint32_t MIM_OPEN      = 0x3C1;
constexpr uint32_t MIM_CLOSE     = 0x3C2;
constexpr uint32_t MIM_DATA      = 0x3C3;
constexpr uint32_t MIM_LONGDATA  = 0x3C4;
constexpr uint32_t MIM_ERROR     = 0x3C5;
constexpr uint32_t MIM_LONGERROR = 0x3C6;
constexpr uint32_t MIM_MOREDATA  = 0x3CC;

class MidiIn {
public:
    RtMidiIn* handle = nullptr;  // null while closed

    MidiIn() = default;
    MidiIn(const MidiIn&) = delete;
    MidiIn& operator=(const MidiIn&) = delete;
    virtual ~MidiIn();

    // Runs on the MIDI thread. The base prints every notification and
    // splits MIM_DATA into on_message's four bytes.
    virtual void handle_midi(uint32_t msg, uint32_t param1, uint32_t param2);
    virtual void on_message(uint8_t& status, uint8_t& data1, uint8_t& data2, uint8_t& data3);

    // Prints the header line and one "  idx=%d : %s" line per input device.
    static void printDeviceNames();

    // Opens input device 0 and starts delivery. On failure prints
    // "MidiIn::start() : midiInOpen() failed...err=..." and returns false;
    // the object stays closed.
    bool start();

    // Stops delivery and closes the device; does nothing when closed. Once it
    // returns, no handler runs any more.
    void close();
};
