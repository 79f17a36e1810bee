// gl_window.h - one SDL window with its OpenGL context.
//
// The program makes two in turn in the same record: the launcher window,
// then the show window. The context keeps the fixed-function pipeline next to
// GLSL programs and framebuffer objects.
#pragma once
#include <SDL.h>

struct TGLWindow {
    SDL_Window* window;
    SDL_GLContext context;
    SDL_Renderer* renderer;  // never created: an SDL renderer could switch the current GL context
    int width;
    float aspect;
    int height;

    // Creates the window at (x, y) with a double-buffered, multisampled GL
    // context. A failure prints one line and leaves the record as far as it got.
    void Init(int x, int y, int width, int height, bool fullscreen);
};

extern const char* const WINDOW_TITLE;
