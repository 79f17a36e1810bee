// The cut-out drawers: whole quads and shattered pieces, all through the
// sprite state's clip program with its uniforms; and the registry's traced
// drawers on top of them.
#include "assets/sprite_draw.h"

#include "assets/draw_trace.h"
#include "assets/shatter_pieces.h"
#include "assets/texture_registry.h"
#include "render/render_target.h"

constexpr float SCREEN_ASPECT = 1.7777778f;

static void setSpriteUniforms(const SpriteState& sprite, GLuint texture, float width, float height,
                              float otherMode) {
    const ShaderProgram& p = sprite.clipProgram;
    p.use();
    p.setTexture(3, "Texture", texture);
    p.setTexture(4, "Paper", sprite.paperTexture.id);
    p.setFloat("ittime", sprite.ittime);
    p.setFloat("ttime", sprite.ttime);
    p.setFloat("texture_width", width);
    p.setFloat("texture_height", height);
    p.setFloat("OtherMode", otherMode);
    p.setFloat("ObjectType", sprite.ObjectType);
    p.setControls({sprite.k0, sprite.k1, sprite.k2, sprite.k3, sprite.k4, sprite.k5});
    p.setFloat("Mode", static_cast<float>(sprite.Mode));
}

// The x flip with the half-turn turns the picture upright: row 0 at the top.
static void orientQuad(float aspect) {
    glScalef(-aspect, 1, 1);
    glRotatef(180, 0, 0, 1);
}

void drawScreenQuad(const SpriteState& sprite, GLuint texture, float otherMode) {
    setSpriteUniforms(sprite, texture, 1920.0f, 1080.0f, otherMode);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    orientQuad(SCREEN_ASPECT);
    drawFullScreenQuad();  // the same unit quad the full-screen passes draw
    sprite.clipProgram.use();
    glPopMatrix();
}

// A picture that failed to load draws nothing, never a square of whatever
// texture 0 holds.
void drawImageQuad(const SpriteState& sprite, const Texture& texture) {
    if (!texture.loaded) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    setSpriteUniforms(sprite, texture.id, static_cast<float>(texture.width), static_cast<float>(texture.height),
                      0.0f);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    orientQuad(texture.aspect);
    drawFullScreenQuad();
    sprite.clipProgram.use();
    glPopMatrix();
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
void shatterScreenQuad(const SpriteState& sprite, GLuint texture, int pointCount, float progress) {
    if (texture == 0) {
        screenShatterPieces(pointCount, progress);
        return;
    }
    pushFarAway();
    drawScreenQuad(sprite, texture, 0.0f);
    glPopMatrix();
    std::vector<ShatterPiece> pieces = screenShatterPieces(pointCount, progress);
    sprite.clipProgram.setTexture(3, "Texture", texture);
    drawPieces(pieces, SCREEN_ASPECT);
}

void shatterImageQuad(const SpriteState& sprite, const Texture& texture, float progress) {
    if (!texture.loaded) {
        imageShatterPieces(progress);
        return;
    }
    pushFarAway();
    drawImageQuad(sprite, texture);
    glPopMatrix();
    std::vector<ShatterPiece> pieces = imageShatterPieces(progress);
    sprite.clipProgram.setTexture(3, "Texture", texture.id);
    drawPieces(pieces, texture.aspect);
}

void TextureRegistry::drawScreen(GLuint texture, float otherMode) const {
    if (drawTrace) traceDraw("screen", traceTextureName(texture), {{"otherMode", otherMode}});
    drawScreenQuad(sprite, texture, otherMode);
}

void TextureRegistry::shatterScreen(GLuint texture, int pointCount, float progress) const {
    if (drawTrace)
        traceDraw("shatterScreen", traceTextureName(texture), {{"points", double(pointCount)}, {"progress", progress}});
    shatterScreenQuad(sprite, texture, pointCount, progress);
}

void ClipImage::draw() const {
    traceDraw("image", key);
    drawImageQuad(registry->sprite, texture);
}

void ClipImage::shatter(float progress) const {
    if (drawTrace) traceDraw("shatter", key, {{"progress", progress}});
    shatterImageQuad(registry->sprite, texture, progress);
}
