// surface_lights.h - the control surface's button lights showing the
// transport: FORWARD lit while paused, CYCLE while looping, RECORD for half
// a second after a time is stored.
//
//   SurfaceLights lights;
//   openSurfaceLights(lights);            // once; no surface: stays dark
//   updateSurfaceLights(lights, paused, looping, markStoredThisFrame, now);
//
// The surface obeys these messages only with its LED mode set to external.
// A light's control change goes out only when its state changes (the first
// update sets all three, as the surface may still show another run's).
#pragma once
#include <cmath>
#include <memory>

#include "midi/midi_out.h"

constexpr double SURFACE_MARK_LIGHT_SECONDS = 0.5;

struct SurfaceLights {
    std::unique_ptr<MidiOutPort> port;  // null: no surface, nothing is sent
    int sent[3] = {-1, -1, -1};         // the state last sent per light; -1 none yet
    double markUntil = -HUGE_VAL;       // RECORD stays lit before this time
};

// The surface's output port, when the surface is plugged in.
void openSurfaceLights(SurfaceLights& lights);

// Once a frame. `markStored`: a time was stored this frame (the surface's
// REC or a bookmark key). `nowSeconds`: a steady wall clock, which keeps
// running while the show is paused.
void updateSurfaceLights(SurfaceLights& lights, bool paused, bool looping, bool markStored, double nowSeconds);
