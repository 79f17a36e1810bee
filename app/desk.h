// desk.h - the maker's desk in the shell: keys for the transport beside the
// control surface, the loop and bookmarks kept across runs, shaders rebuilt
// when saved (the last good program kept, the error shown), and a HUD over
// the finished picture (which also tells what the scenes are drawn from when
// they reload as a module).
//
//   startDesk(state);                 // once, after startShow
//   // each frame:
//   handleEvents(state);              // keys reach handleDeskKey
//   beginDeskFrame(state);            // saved shaders rebuilt
//   advanceShow(state); finishFrame(state);
//   endDeskFrame(state);              // the desk file, the HUD
//   SDL_GL_SwapWindow(...);
//
// Keys (none the show uses: Escape, A, Space):
//   P pause/resume   , . one frame back/forward   Left/Right 1 s   Down/Up 10 s
//   Home raw 0   Page Up/Page Down previous/next act   I/O loop in/out   L loop on/off
//   1-9 jump to bookmark   Ctrl+1-9 store bookmark   H the HUD
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/draw_trace.h"
#include "platform/file_watch.h"
#include "show/desk_transport.h"

struct AppState;

struct Desk {
    DeskTransport transport;
    bool hudVisible = false;
    FileWatch shaderWatch;
    std::string filePath;  // where the loop and bookmarks are kept; empty: nowhere
    float frameSeconds = 0;  // wall time per frame, smoothed, for the HUD
    int64_t lastFrameTicks = 0;
    std::vector<int> drawingGroups;  // scene groups that drew in the last frame
    DrawTrace hudTrace;  // on while the HUD shows: which groups draw
};

// The one-line key help the HUD shows.
extern const char* const DESK_KEY_HELP;

void startDesk(AppState& state);
// A key press (or its repeat) from the event loop; true when it was a desk key.
bool handleDeskKey(AppState& state, int scancode, bool control, bool repeat);
void beginDeskFrame(AppState& state);
void endDeskFrame(AppState& state);

// The shader files a change to `name` (a file name in the shader folder)
// touches: true when any of the programs' sources is that file. Scrambled
// copies (".xxx"), which every build rewrites, never count.
bool shaderChangeMatters(const std::string& name, const std::vector<std::string>& sources);
