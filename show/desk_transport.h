// desk_transport.h - the maker's transport on the show clock: pause, frame
// steps, seeks, act jumps, a loop range and nine bookmarks, driven from the
// keyboard beside the control surface.
//
// The pause is the control surface's own FORWARD toggle, so a pause latched on
// either side shows on both. Seeks, act jumps, bookmarks and loop points are
// clamped to the show: raw 0 up to the last raw millisecond before the scene
// time reaches its end. The music follows every move through the soundtrack's
// drift rule.
//
//   live.deskCommands.push_back({DESK_SEEK, 10});  // a key press, from the shell
//   time = runDeskCommands(desk, live.deskCommands, time, live.controls);
#pragma once
#include <string>
#include <vector>

class NanoKONTROL2;

constexpr int DESK_BOOKMARK_COUNT = 9;
constexpr float DESK_NO_TIME = -1.0f;        // an unset loop point or bookmark
constexpr float DESK_FRAME_STEP = 1.0f / 60;  // one frame at 60 frames a second

enum DeskAction {
    DESK_PAUSE,           // pause or resume
    DESK_STEP,            // seconds: +/- one frame, pausing first
    DESK_SEEK,            // seconds: relative
    DESK_TO_START,        // raw 0
    DESK_PREVIOUS_ACT,    // the start of this act, or of the one before when at it
    DESK_NEXT_ACT,
    DESK_LOOP_IN,         // at the current time
    DESK_LOOP_OUT,
    DESK_LOOP_TOGGLE,
    DESK_STORE_BOOKMARK,  // slot 0..8
    DESK_JUMP_BOOKMARK,
};

struct DeskCommand {
    DeskAction action;
    float seconds = 0;
    int slot = 0;
};

struct DeskTransport {
    float loopIn = DESK_NO_TIME, loopOut = DESK_NO_TIME;  // raw seconds
    bool looping = false;
    float bookmarks[DESK_BOOKMARK_COUNT] = {DESK_NO_TIME, DESK_NO_TIME, DESK_NO_TIME, DESK_NO_TIME, DESK_NO_TIME,
                                            DESK_NO_TIME, DESK_NO_TIME, DESK_NO_TIME, DESK_NO_TIME};
    std::string notice;       // the last thing the desk refused or stored, for the HUD
    bool markStored = false;  // a time was stored by the last commands run
    bool changed = false;     // the loop or a bookmark changed: worth saving
};

// The last raw time the show plays: the millisecond before its scene time
// reaches the end.
float lastShowRawTime();
// raw clamped to [0, lastShowRawTime()].
float clampToShow(float raw);

// Whether the control surface's pause toggle is set (never without a surface).
bool deskPaused(const NanoKONTROL2* controls);

// Runs the frame's commands in order on the raw time and returns the new raw
// time; then, while the loop is on, a time that reached loop out wraps to loop
// in. Clears `commands`. Sets desk.markStored when a bookmark was stored.
float runDeskCommands(DeskTransport& desk, std::vector<DeskCommand>& commands, float raw, NanoKONTROL2* controls);

// The loop and bookmarks as the desk file holds them: human-readable lines,
//   loop 12.500 20.000 on
//   bookmark 3 37.484
std::string deskFileText(const DeskTransport& desk);
// Reads a desk file's text into desk; false (desk untouched, `why` set) when
// any line is damaged.
bool readDeskFileText(const std::string& text, DeskTransport& desk, std::string& why);
