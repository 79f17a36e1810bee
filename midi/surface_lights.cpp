#include "midi/surface_lights.h"

#include "midi/nano_kontrol2.h"

// The lights are the buttons' own controllers on channel 1: 127 on, 0 off.
static const uint8_t LIGHT_CONTROLLERS[3] = {NANO_KONTROL2_BUTTON_FOWARD, NANO_KONTROL2_BUTTON_CYCLE,
                                             NANO_KONTROL2_BUTTON_REC};
static const uint8_t CONTROL_CHANGE_CHANNEL_1 = 0xB0;

void openSurfaceLights(SurfaceLights& lights) { lights.port = openMidiOutPort("nanoKONTROL2"); }

void updateSurfaceLights(SurfaceLights& lights, bool paused, bool looping, bool markStored, double nowSeconds) {
    if (!lights.port) return;
    if (markStored) lights.markUntil = nowSeconds + SURFACE_MARK_LIGHT_SECONDS;
    const bool wanted[3] = {paused, looping, nowSeconds < lights.markUntil};
    for (int i = 0; i < 3; i++) {
        if (lights.sent[i] == int(wanted[i])) continue;
        lights.port->send(CONTROL_CHANGE_CHANNEL_1, LIGHT_CONTROLLERS[i], wanted[i] ? 127 : 0);
        lights.sent[i] = wanted[i];
    }
}
