// The cut-out drawers of the texture registry: whole quads and shattered
// pieces, all through clipProgram with the registry's shared uniforms.
#include <GL/glew.h>

#include "assets/draw_trace.h"
#include "assets/shatter_pieces.h"
#include "assets/texture_registry.h"
#include "render/render_target.h"

constexpr float SCREEN_ASPECT = 1.7777778f;

static void setSpriteUniforms(const TextureRegistry& registry, GLuint texture, float width, float height,
                              float otherMode) {
    const ShaderProgram& p = registry.clipProgram;
    p.use();
    p.setTexture(3, "Texture", texture);
    p.setTexture(4, "Paper", registry.paperTexture.id);
    p.setFloat("ittime", registry.ittime);
    p.setFloat("ttime", registry.ttime);
    p.setFloat("texture_width", width);
    p.setFloat("texture_height", height);
    p.setFloat("OtherMode", otherMode);
    p.setFloat("ObjectType", registry.ObjectType);
    p.setControls({registry.k0, registry.k1, registry.k2, registry.k3, registry.k4, registry.k5});
    p.setFloat("Mode", static_cast<float>(registry.Mode));
}

// The x flip with the half-turn turns the picture upright: row 0 at the top.
static void orientQuad(float aspect) {
    glScalef(-aspect, 1, 1);
    glRotatef(180, 0, 0, 1);
}

// The drawers' bodies, untraced: a shatter draws the whole picture first.
static void drawScreenQuad(const TextureRegistry& registry, GLuint texture, float otherMode) {
    setSpriteUniforms(registry, texture, 1920.0f, 1080.0f, otherMode);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    orientQuad(SCREEN_ASPECT);
    drawFullScreenQuad();  // the same unit quad the full-screen passes draw
    registry.clipProgram.use();
    glPopMatrix();
}

static void drawImageQuad(const ClipImage& image) {
    const Texture& texture = image.texture;
    const TextureRegistry* registry = image.registry;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    setSpriteUniforms(*registry, texture.id, static_cast<float>(texture.width), static_cast<float>(texture.height),
                      0.0f);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    orientQuad(texture.aspect);
    drawFullScreenQuad();
    registry->clipProgram.use();
    glPopMatrix();
}

void TextureRegistry::drawScreen(GLuint texture, float otherMode) const {
    if (drawTrace) traceDraw("screen", traceTextureName(texture), {{"otherMode", otherMode}});
    drawScreenQuad(*this, texture, otherMode);
}

// A picture that failed to load keeps its key but draws nothing, never a
// square of whatever texture 0 holds.
void ClipImage::draw() const {
    traceDraw("image", key);
    if (texture.loaded) drawImageQuad(*this);
}

static void drawPieces(const std::vector<ShatterPiece>& pieces, float aspect) {
    glMatrixMode(GL_MODELVIEW);
    for (const ShatterPiece& piece : pieces) {
        glPushMatrix();
        glColor3f(1, 1, 1);
        glTranslatef(piece.push.x, piece.push.y, piece.push.z);
        glTranslatef(piece.pivot.x, piece.pivot.y, piece.pivot.z);
        glRotatef(piece.turnDegrees, 0, 0, 1);
        glTranslatef(-piece.pivot.x, -piece.pivot.y, -piece.pivot.z);
        glTranslatef(piece.drift.x, piece.drift.y, piece.drift.z);
        orientQuad(aspect);
        glBegin(GL_TRIANGLES);
        for (int c = 0; c < 3; c++) {
            glTexCoord2f(piece.texCoords[c].x, piece.texCoords[c].y);
            glVertex3f(piece.corners[c].x, piece.corners[c].y, piece.corners[c].z);
        }
        glEnd();
        glPopMatrix();
    }
}

// The whole quad first, far off to the side: it makes clipProgram current
// with every uniform loaded, and the pieces draw under those.
static void pushFarAway() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(1000, 0, 0);
}

// The pieces are cut even when there is no picture to draw: cutting draws
// from the shared generator, and later layouts depend on where it is left.
void TextureRegistry::shatterScreen(GLuint texture, int pointCount, float progress) const {
    if (drawTrace)
        traceDraw("shatterScreen", traceTextureName(texture), {{"points", double(pointCount)}, {"progress", progress}});
    if (texture == 0) {
        screenShatterPieces(pointCount, progress);
        return;
    }
    pushFarAway();
    drawScreenQuad(*this, texture, 0.0f);
    glPopMatrix();
    std::vector<ShatterPiece> pieces = screenShatterPieces(pointCount, progress);
    clipProgram.setTexture(3, "Texture", texture);
    drawPieces(pieces, SCREEN_ASPECT);
}

void ClipImage::shatter(float progress) const {
    if (drawTrace) traceDraw("shatter", key, {{"progress", progress}});
    if (!texture.loaded) {
        imageShatterPieces(progress);
        return;
    }
    pushFarAway();
    drawImageQuad(*this);
    glPopMatrix();
    std::vector<ShatterPiece> pieces = imageShatterPieces(progress);
    registry->clipProgram.setTexture(3, "Texture", texture.id);
    drawPieces(pieces, texture.aspect);
}
