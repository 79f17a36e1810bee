#include "render/render_target.h"

static const GLenum COLOUR_ATTACHMENTS[3] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1,
                                             GL_COLOR_ATTACHMENT2};

static int clampOutputs(int outputs) { return outputs < 1 ? 1 : outputs > 3 ? 3 : outputs; }

static void setSamplingParameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

// Names only: storage is given on first use (see ensureBuffers and
// ensureTextures), so a target nothing draws into or resolves costs nothing.
void RenderTarget::create(int w, int h, int sampleCount) {
    width = w;
    height = h;
    samples = sampleCount;
    buffersMade = texturesMade = 0;  // the new names have no storage yet
    glGenRenderbuffers(3, colourBuffers);
    glGenRenderbuffers(1, &depthBuffer);
    glGenFramebuffers(1, &drawFramebuffer);
    glGenFramebuffers(1, &resolveFramebuffer);
    glGenTextures(1, &depthTexture);
    glGenTextures(3, colourTextures);
    glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer);
}

// The multisampled storage of the first `outputs` colour outputs and depth,
// attached to the draw framebuffer as it is made, so the framebuffer is
// always complete for the outputs it has. Leaves the draw framebuffer bound.
void RenderTarget::ensureBuffers(int outputs) {
    glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer);
    if (buffersMade == 0) {
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    }
    for (; buffersMade < outputs; ++buffersMade) {
        glBindRenderbuffer(GL_RENDERBUFFER, colourBuffers[buffersMade]);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, COLOUR_ATTACHMENTS[buffersMade], GL_RENDERBUFFER,
                                  colourBuffers[buffersMade]);
    }
}

void RenderTarget::ensureTextures(int outputs) {
    if (texturesMade == 0) {
        // Sized like the depth renderbuffer: a depth blit needs matching formats.
        glBindTexture(GL_TEXTURE_2D, depthTexture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width, height, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                     nullptr);
        setSamplingParameters();
        glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_INTENSITY);
    }
    for (; texturesMade < outputs; ++texturesMade) {
        glBindTexture(GL_TEXTURE_2D, colourTextures[texturesMade]);
        setSamplingParameters();
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
}

void RenderTarget::attach(int outputs) {
    outputs = clampOutputs(outputs);
    ensureTextures(outputs);
    glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer);
    for (int i = 0; i < outputs; ++i) {
        glFramebufferTexture2D(GL_FRAMEBUFFER, COLOUR_ATTACHMENTS[i], GL_TEXTURE_2D, colourTextures[i], 0);
        glCheckFramebufferStatus(GL_FRAMEBUFFER);
    }
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depthTexture, 0);
    glCheckFramebufferStatus(GL_FRAMEBUFFER);
}

void RenderTarget::bind(int outputs) {
    outputs = clampOutputs(outputs);
    ensureBuffers(outputs);
    glDrawBuffers(outputs, COLOUR_ATTACHMENTS);
}

void RenderTarget::resolveColour(int outputs) {
    outputs = clampOutputs(outputs);
    ensureBuffers(outputs);
    ensureTextures(outputs);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, drawFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer);
    for (int i = 0; i < outputs; ++i) {
        glDrawBuffer(COLOUR_ATTACHMENTS[i]);
        glReadBuffer(COLOUR_ATTACHMENTS[i]);
        glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    }
}

void RenderTarget::resolve(int outputs) {
    resolveColour(outputs);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_DEPTH_BUFFER_BIT, GL_NEAREST);
}

std::array<float, 16> setPerspective(float fieldOfViewDegrees, float aspect, float zNear, float zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfViewDegrees, aspect, zNear, zFar);
    std::array<float, 16> matrix;
    glGetFloatv(GL_PROJECTION_MATRIX, matrix.data());
    return matrix;
}

void drawFullScreenQuad() {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-1, -1, 0);
    glTexCoord2f(1, 0);
    glVertex3f(1, -1, 0);
    glTexCoord2f(1, 1);
    glVertex3f(1, 1, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-1, 1, 0);
    glEnd();
}
