#include "render/gl_state.h"

#include <GL/glew.h>

void loadIdentityMatrices() {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void resetGLState() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    loadIdentityMatrices();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

void clearGLErrors() {
    // Bounded: a lost context can report an error on every call.
    for (int stale = 0; stale < 8 && glGetError() != GL_NO_ERROR; stale++) {
    }
}
