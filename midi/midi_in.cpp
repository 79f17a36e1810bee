#include "midi/midi_in.h"

#include <cstdio>
#include <string>
#include <vector>

#include <rtmidi/RtMidi.h>

// The default mode of the ALSA back end; also keeps the index list of
// printDeviceNames the same as the one start opens from.
static const RtMidi::Api kMidiApi = RtMidi::LINUX_ALSA;

static void inputCallback(double, std::vector<unsigned char>* message, void* instance) {
    // Only short messages are packed; sysex is ignored by the input anyway.
    if (message->empty() || message->size() > 3) return;
    uint32_t param1 = 0;
    for (size_t i = 0; i < message->size(); i++) param1 |= uint32_t((*message)[i]) << (8 * i);
    static_cast<MidiIn*>(instance)->handle_midi(MIM_DATA, param1, 0);
}

MidiIn::~MidiIn() { close(); }

void MidiIn::handle_midi(uint32_t msg, uint32_t param1, uint32_t) {
    switch (msg) {
    case MIM_OPEN:      printf("wMsg=MIM_OPEN\n"); break;
    case MIM_CLOSE:     printf("wMsg=MIM_CLOSE\n"); break;
    case MIM_DATA: {
        uint8_t status = param1 & 0xFF, data1 = (param1 >> 8) & 0xFF;
        uint8_t data2 = (param1 >> 16) & 0xFF, data3 = (param1 >> 24) & 0xFF;
        on_message(status, data1, data2, data3);
        break;
    }
    case MIM_LONGDATA:  printf("wMsg=MIM_LONGDATA\n"); break;
    case MIM_ERROR:     printf("wMsg=MIM_ERROR\n"); break;
    case MIM_LONGERROR: printf("wMsg=MIM_LONGERROR\n"); break;
    case MIM_MOREDATA:  printf("wMsg=MIM_MOREDATA\n"); break;
    default:            printf("wMsg = unknown\n"); break;
    }
}

void MidiIn::on_message(uint8_t& status, uint8_t& data1, uint8_t& data2, uint8_t& data3) {
    printf("MidiIn::on_message() : ch_msg=%02x, data1=%02x, data2=%02x, data3=%02x\n",
           status, data1, data2, data3);
}

void MidiIn::printDeviceNames() {
    std::vector<std::string> names;
    try {
        RtMidiIn input(kMidiApi);
        unsigned count = input.getPortCount();
        for (unsigned i = 0; i < count; i++) names.push_back(input.getPortName(i));
    } catch (const RtMidiError&) {
        // No sequencer: the list is empty.
    }
    printf("======== MidiIn::printDeviceNames() ========\n");
    for (size_t i = 0; i < names.size(); i++) printf("  idx=%d : %s\n", int(i), names[i].c_str());
}

bool MidiIn::start() {
    if (handle) return true;
    RtMidiIn* input = nullptr;
    std::string error;
    try {
        input = new RtMidiIn(kMidiApi, "Torvanel");
        input->setCallback(inputCallback, this);
        input->openPort(0, "Torvanel input");
        if (!input->isPortOpen()) error = "no input port could be opened";
    } catch (const RtMidiError& e) {
        error = e.what();
    }
    if (!error.empty()) {
        delete input;
        printf("MidiIn::start() : midiInOpen() failed...err=%s\n", error.c_str());
        return false;
    }
    handle = input;
    return true;
}

void MidiIn::close() {
    if (!handle) return;
    // closePort joins the input thread, so no callback outlives it.
    handle->closePort();
    delete handle;
    handle = nullptr;
}
