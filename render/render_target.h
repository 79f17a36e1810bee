// render_target.h - multisampled off-screen drawing resolved into textures.
//
//   RenderTarget scene;
//   scene.create(1920, 1080, 4);   // once, with a GL context current
//   scene.attach(3);               // each pass: outputs it needs (1 to 3)
//   scene.bind(3);
//   ... draw ...
//   scene.resolve(3);              // colour outputs and depth into the textures
//   glBindFramebuffer(GL_FRAMEBUFFER, 0);
//   program.setTexture(0, "Colour0", scene.colourTextures[0]);
//
// Storage is given on first use: the multisampled buffers of an output when
// it is first drawn into (bind, resolve), its texture when first attached or
// resolved. A target nothing uses costs only its names.
// Nothing checks framebuffer status; the record does not own its GL objects.
#pragma once
#include <GL/glew.h>
#include <GL/glu.h>
#include <array>

struct RenderTarget {
    GLuint colourBuffers[3] = {};  // multisampled GL_RGBA8 storage
    GLuint depthBuffer = 0;        // multisampled GL_DEPTH_COMPONENT24 storage
    GLuint drawFramebuffer = 0;
    GLuint resolveFramebuffer = 0;
    GLuint colourTextures[3] = {};  // resolved colour outputs 0, 1, 2
    GLuint depthTexture = 0;        // resolved depth, sampled as intensity
    int width = 0;
    int height = 0;
    int samples = 0;
    int buffersMade = 0;   // colour outputs with multisampled storage (depth with the first)
    int texturesMade = 0;  // colour textures with storage (the depth texture with the first)

    // samples 0 gives single-sampled storage. Makes the names; leaves the
    // resolve framebuffer bound.
    void create(int width, int height, int samples);
    // Binds the resolve framebuffer and attaches the first `outputs` colour
    // textures (at least one) and the depth texture.
    void attach(int outputs);
    // Binds the draw framebuffer and draws into its first `outputs` outputs.
    void bind(int outputs);
    // Blits the first `outputs` colour outputs and depth; leaves the two
    // framebuffers bound for reading and drawing.
    void resolve(int outputs);
    // The same without depth, for a target whose depth nothing samples.
    void resolveColour(int outputs);

    void ensureBuffers(int outputs);
    void ensureTextures(int outputs);
};

// gluPerspective into the projection matrix (mode left at GL_PROJECTION);
// returns that matrix in GL's column-major order.
std::array<float, 16> setPerspective(float fieldOfViewDegrees, float aspect, float zNear, float zFar);

// (-1, -1)..(1, 1) at z = 0 with texture coordinates 0..1; sets no matrices.
void drawFullScreenQuad();
