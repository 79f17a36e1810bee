// gl_test_context.h - a hidden window with a GL context made the way the show
// makes its own, shared by every GL test (and the benchmark) in a process.
//
//   TEST_F(GLTest, Something) { ... }       // skipped when no display is up
//   if (!glTestContextAvailable()) ...      // outside GoogleTest
#pragma once
#include <GL/glew.h>
#include <SDL.h>
#include <cstdio>

#include "platform/gl_attributes.h"

// Opened on first use and kept for the life of the process.
inline bool glTestContextAvailable() {
    static const bool available = [] {
        if (SDL_Init(SDL_INIT_VIDEO) < 0) {
            fprintf(stderr, "gl_test_context - no display: %s\n", SDL_GetError());
            return false;
        }
        requestShowContextAttributes();
        SDL_Window* window = SDL_CreateWindow("tests", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window) {
            fprintf(stderr, "gl_test_context - no window: %s\n", SDL_GetError());
            return false;
        }
        SDL_GLContext context = SDL_GL_CreateContext(window);
        if (!context) {
            fprintf(stderr, "gl_test_context - no context: %s\n", SDL_GetError());
            return false;
        }
        glewExperimental = GL_TRUE;
        GLenum error = glewInit();
        if (error != GLEW_OK) {
            fprintf(stderr, "gl_test_context - GLEW: %s\n", glewGetErrorString(error));
            return false;
        }
        return SDL_GL_MakeCurrent(window, context) == 0;
    }();
    return available;
}

#ifdef GTEST_SKIP
class GLTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!glTestContextAvailable()) GTEST_SKIP() << "no display for a GL context";
        while (glGetError() != GL_NO_ERROR) {
        }
    }
};
#endif
