#include "app/gl_window.h"

#include <GL/glew.h>
#include <cstdio>
#include <cstring>

#include "platform/gl_attributes.h"

// A compatibility context keeps immediate mode, display lists and the
// matrix stacks; a core one reports "Core" in its version.
static bool hasFixedFunction() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version && strstr(version, "Core") == nullptr;
}

const char* const WINDOW_TITLE = "Torvanel quillaret by Ulv - 2024";

void TGLWindow::Init(int x, int y, int w, int h, bool fullscreen) {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        printf("%s - SDL could not initialize! SDL Error: %s\n", "TGLWindow::Init", SDL_GetError());
        return;
    }
    width = w;
    height = h;
    aspect = static_cast<float>(w) / static_cast<float>(h);

    requestShowContextAttributes();

    window = SDL_CreateWindow("Rendering", x, y, w, h, SDL_WINDOW_OPENGL);
    if (!window) {
        printf("%s - Window could not be created! SDL Error: %s\n", "TGLWindow::Init", SDL_GetError());
        return;
    }
    context = SDL_GL_CreateContext(window);
    if (!context) {
        printf("%s - OpenGL context could not be created! SDL Error: %s\n", "TGLWindow::Init", SDL_GetError());
        return;
    }
    // Drivers that honour the core bit drop the fixed-function pipeline the
    // show draws with: ask again for a compatibility context of that version,
    // and where a driver gives core for every 3.x request (Mesa through EGL,
    // headless), for a compatibility context of no particular version.
    int profile = 0;
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &profile);
    if (profile == SDL_GL_CONTEXT_PROFILE_CORE && !hasFixedFunction()) {
        for (int attempt = 0; attempt < 2 && !hasFixedFunction(); attempt++) {
            SDL_GL_DeleteContext(context);
            SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
            if (attempt == 1) {
                SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
                SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
            }
            context = SDL_GL_CreateContext(window);
            if (!context) {
                printf("%s - OpenGL context could not be created! SDL Error: %s\n", "TGLWindow::Init", SDL_GetError());
                return;
            }
        }
    }
    glewExperimental = GL_TRUE;
    if (fullscreen) SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
    GLenum error = glewInit();
    // Headless (an EGL context, no X display) GLEW loads every GL entry point
    // and then fails only on its GLX part, which the show never uses.
    if (error != GLEW_OK && error != GLEW_ERROR_NO_GLX_DISPLAY) {
        printf("%s - Error initializing GLEW! %s\n", "TGLWindow::Init", glewGetErrorString(error));
        return;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(0);
    SDL_SetWindowTitle(window, WINDOW_TITLE);
}
