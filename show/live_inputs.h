// live_inputs.h - what every part reads each frame: the control surface, the
// tweak values, the frame time, the mouse and the held keys.
#pragma once
#include <vector>

#include "midi/nano_kontrol2.h"
#include "show/desk_transport.h"

constexpr int KEY_COUNT = 512;  // SDL scancodes all lie below

struct LiveInputs {
    NanoKONTROL2* controls = nullptr;
    // Tweak values for a maker's live experiments: nothing reads these in the
    // show, and nothing sets them.
    float _nx = 0, _ny = 0, _nz = 0;
    int _ix = 0, _iy = 0, _iz = 0;
    float _kx = 0, _ky = 0;
    float _kz = 0;  // speed tweak; finishFrame holds it at -1
    // The shaders' "k0".."k5": always 0 in the show, passed on every draw so a
    // maker's live tweak would reach the pictures.
    float _k0 = 0, _k1 = 0, _k2 = 0, _k3 = 0, _k4 = 0, _k5 = 0;
    float frameTime = 0;  // clamped duration of the last frame, seconds
    int mouseX = 0, mouseY = 0;  // window pixels
    bool leftButton = false;
    bool keys[KEY_COUNT] = {};  // held keys by SDL scancode
    int leftPresses = 0;  // left-button presses since the last frame, so a click shorter than a frame counts
    // The maker's desk: its transport, and the key presses of this frame that
    // the clock runs on it (none without the desk, as in the tools).
    DeskTransport* desk = nullptr;
    std::vector<DeskCommand> deskCommands;
};
