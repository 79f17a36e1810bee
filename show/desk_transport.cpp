#include "show/desk_transport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "midi/nano_kontrol2.h"
#include "show/part_clips.h"
#include "show/scene_timeline.h"
#include "timing/time_map.h"

float lastShowRawTime() {
    static const float last = [] {
        const TimeMap& map = showTimeMap();
        int i = 0;
        while (i < TimeMap::ENTRIES - 1 && map.sceneTime[i + 1] < SHOW_END_SCENE_TIME) ++i;
        return i / 1000.0f;
    }();
    return last;
}

float clampToShow(float raw) { return std::min(std::max(raw, 0.0f), lastShowRawTime()); }

bool deskPaused(const NanoKONTROL2* controls) {
    return controls && controls->toggle(NANO_KONTROL2_BUTTON_FOWARD) != 0;
}

// The surface's latched state, so its own next press releases it as usual.
static void setPaused(NanoKONTROL2* controls, bool paused) {
    if (controls) controls->toggles[NANO_KONTROL2_BUTTON_FOWARD].store(paused ? 2 : 0, std::memory_order_relaxed);
}

static int actOfRawTime(float raw) {
    return actAtSceneTime(showTimeMap().sceneTime[timeMapIndex(showTimeMap(), raw)]);
}

static float previousActStart(float raw) {
    int act = actOfRawTime(raw);
    // Within half a second of an act's start, "previous" means the act before.
    if (act > 0 && raw - actRawStart(act) < 0.5f) --act;
    return actRawStart(act);
}

static float nextActStart(float raw) {
    for (int act = 0; act < SCENE_ACT_COUNT; ++act)
        if (actRawStart(act) > raw + 0.001f) return actRawStart(act);
    return raw;
}

static float setLoopPoint(DeskTransport& desk, float raw, bool in) {
    float at = clampToShow(raw);
    float other = in ? desk.loopOut : desk.loopIn;
    if (other != DESK_NO_TIME && (in ? at >= other : at <= other)) {
        desk.notice = in ? "loop in must come before loop out" : "loop out must come after loop in";
        return raw;
    }
    (in ? desk.loopIn : desk.loopOut) = at;
    desk.changed = true;
    return raw;
}

static float runCommand(DeskTransport& desk, const DeskCommand& c, float raw, NanoKONTROL2* controls) {
    switch (c.action) {
        case DESK_PAUSE:
            setPaused(controls, !deskPaused(controls));
            return raw;
        case DESK_STEP:
            setPaused(controls, true);
            return clampToShow(raw + c.seconds);
        case DESK_SEEK:
            return clampToShow(raw + c.seconds);
        case DESK_TO_START:
            return 0.0f;
        case DESK_PREVIOUS_ACT:
            return previousActStart(clampToShow(raw));
        case DESK_NEXT_ACT:
            return nextActStart(clampToShow(raw));
        case DESK_LOOP_IN:
            return setLoopPoint(desk, raw, true);
        case DESK_LOOP_OUT:
            return setLoopPoint(desk, raw, false);
        case DESK_LOOP_TOGGLE:
            if (!desk.looping && (desk.loopIn == DESK_NO_TIME || desk.loopOut == DESK_NO_TIME)) {
                desk.notice = "set loop in and loop out first";
                return raw;
            }
            desk.looping = !desk.looping;
            desk.changed = true;
            return raw;
        case DESK_STORE_BOOKMARK:
            if (c.slot < 0 || c.slot >= DESK_BOOKMARK_COUNT) return raw;
            desk.bookmarks[c.slot] = clampToShow(raw);
            desk.markStored = true;
            desk.changed = true;
            desk.notice = "bookmark " + std::to_string(c.slot + 1) + " stored";
            return raw;
        case DESK_JUMP_BOOKMARK:
            if (c.slot < 0 || c.slot >= DESK_BOOKMARK_COUNT) return raw;
            if (desk.bookmarks[c.slot] == DESK_NO_TIME) {
                desk.notice = "bookmark " + std::to_string(c.slot + 1) + " is empty";
                return raw;
            }
            return clampToShow(desk.bookmarks[c.slot]);
    }
    return raw;
}

float runDeskCommands(DeskTransport& desk, std::vector<DeskCommand>& commands, float raw, NanoKONTROL2* controls) {
    desk.markStored = false;
    for (const DeskCommand& c : commands) raw = runCommand(desk, c, raw, controls);
    commands.clear();
    if (desk.looping && raw >= desk.loopOut) {
        float length = desk.loopOut - desk.loopIn;
        raw = desk.loopIn + std::fmod(raw - desk.loopOut, length);
    }
    return raw;
}

std::string deskFileText(const DeskTransport& desk) {
    std::string text = "# the maker's desk: loop and bookmarks, raw show seconds\n";
    char line[96];
    if (desk.loopIn != DESK_NO_TIME || desk.loopOut != DESK_NO_TIME) {
        snprintf(line, sizeof line, "loop %.3f %.3f %s\n", desk.loopIn, desk.loopOut, desk.looping ? "on" : "off");
        text += line;
    }
    for (int i = 0; i < DESK_BOOKMARK_COUNT; ++i) {
        if (desk.bookmarks[i] == DESK_NO_TIME) continue;
        snprintf(line, sizeof line, "bookmark %d %.3f\n", i + 1, desk.bookmarks[i]);
        text += line;
    }
    return text;
}

// A time the file may hold: unset, or within the show.
static bool validTime(float t) { return t == DESK_NO_TIME || (std::isfinite(t) && t == clampToShow(t)); }

bool readDeskFileText(const std::string& text, DeskTransport& desk, std::string& why) {
    DeskTransport read = desk;
    read.loopIn = read.loopOut = DESK_NO_TIME;
    read.looping = false;
    std::fill(std::begin(read.bookmarks), std::end(read.bookmarks), DESK_NO_TIME);
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string kind, state, rest;
        bool ok = false;
        if ((words >> kind) && kind == "loop") {
            ok = (words >> read.loopIn >> read.loopOut >> state) && (state == "on" || state == "off") &&
                 validTime(read.loopIn) && validTime(read.loopOut) &&
                 (read.loopIn == DESK_NO_TIME || read.loopOut == DESK_NO_TIME || read.loopIn < read.loopOut);
            read.looping = state == "on" && read.loopIn != DESK_NO_TIME && read.loopOut != DESK_NO_TIME;
        } else if (kind == "bookmark") {
            int slot = 0;
            float t = 0;
            ok = (words >> slot >> t) && slot >= 1 && slot <= DESK_BOOKMARK_COUNT && validTime(t) &&
                 t != DESK_NO_TIME;
            if (ok) read.bookmarks[slot - 1] = t;
        }
        if (ok && (words >> rest)) ok = false;  // nothing may follow
        if (!ok) {
            why = "line " + std::to_string(number) + " is not a loop or bookmark line: \"" + line.substr(0, 60) + "\"";
            return false;
        }
    }
    desk = read;
    return true;
}
