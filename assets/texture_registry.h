// texture_registry.h - the show's cut-out images by name, and the drawing
// state all of them share (sprite_state.h).
//
// Images are found by a key derived from their file name ("Resources//
// torvanel//skullcrack3front.jpg" is "skullcrack3front"). Keys may repeat:
// the first registered wins. Records move when the list grows, so hold keys,
// not references, across add.
//
//   registry.sprite.ObjectType = 8;          // the look of the next draws
//   registry.find("skull")->draw();          // quad of the image's aspect
//   registry.find("moon")->shatter(1);       // the same, in pieces
//   registry.drawScreen(target.colourTextures[0], 1);  // a mesh render as a cut-out
//
// The drawers trace the call, then draw through sprite_draw.h.
#pragma once
#include <string>
#include <vector>

#include "assets/sprite_state.h"
#include "render/texture.h"

struct TextureRegistry;

struct ClipImage {
    TextureRegistry* registry;  // its sprite state is what the drawers read
    Texture texture;            // repeats in S and T
    std::string key;

    // Around the origin, half-height 1, width by the picture's aspect.
    void draw() const;
    // In Delaunay pieces that settle into place as progress reaches 1.
    void shatter(float progress) const;
};

struct TextureRegistry {
    std::vector<ClipImage> images;  // registration order
    SpriteState sprite;  // shared by every draw of every image

    // Registers imagePath under its key, the pixels from picturePath when that
    // is not empty. Needs the GL context.
    void add(const std::string& imagePath, const std::string& picturePath);
    // The same with the picture decoded already (decodeTexturePicture of the
    // file that add would read).
    void addDecoded(const std::string& imagePath, const std::string& picturePath, TexturePicture& picture);

    // The first image with exactly this key, or null.
    ClipImage* find(const std::string& key);

    // A 1920 x 1080 picture (a render target's colour) as a 16:9 quad.
    // otherMode 1 tells the shader it is a mesh render on cyan.
    void drawScreen(GLuint texture, float otherMode) const;
    // The same quad cut over pointCount random points, flying in as
    // progress rises to 1.
    void shatterScreen(GLuint texture, int pointCount, float progress) const;
};

// The file name without its directories and its last four characters.
std::string clipKeyForPath(const std::string& imagePath);
