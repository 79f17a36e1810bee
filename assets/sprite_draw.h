// sprite_draw.h - the cut-out drawers: a picture as a quad of its own aspect
// or as a 16:9 screen, whole or in Delaunay pieces, all through the sprite
// state's clip program with its uniforms.
//
// Quads lie around the origin with half-height 1; the caller's matrices place
// them. The drawers leave clipProgram current and set no blend, depth or
// texture state beyond the image quad's blend function. They record nothing:
// the registry's drawers (ClipImage::draw and the rest) trace, then call these.
#pragma once
#include <GL/glew.h>

#include "assets/sprite_state.h"
#include "render/texture.h"

// A picture as a quad of its aspect.
void drawImageQuad(const SpriteState& sprite, const Texture& texture);
// The same in pieces that settle into place as progress reaches 1. The pieces
// are cut (drawing from the shared generator) even for a texture that did
// not load, which then draws nothing.
void shatterImageQuad(const SpriteState& sprite, const Texture& texture, float progress);
// A 1920 x 1080 picture (a render target's colour) as a 16:9 quad.
// otherMode 1 tells the shader it is a mesh render on cyan.
void drawScreenQuad(const SpriteState& sprite, GLuint texture, float otherMode);
// The same cut over pointCount random points, flying in as progress rises to
// 1; cut even when texture is 0, which then draws nothing.
void shatterScreenQuad(const SpriteState& sprite, GLuint texture, int pointCount, float progress);
