// gl_state.h - the GL state every drawing step may rely on at its start.
#pragma once

// Identity texture, projection and model-view matrices; model-view selected.
void loadIdentityMatrices();

// Framebuffer 0, program 0, identity matrices, and texturing, blending,
// depth test and culling off. Run after each part's frame, after each
// loading-screen redraw and at the end of every frame.
void resetGLState();

// Reads and drops the errors GL has recorded, so that the next check sees
// only what follows it.
void clearGLErrors();
