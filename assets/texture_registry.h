// texture_registry.h - the show's cut-out images by name, and the drawing
// state all of them share.
//
// Images are found by a key derived from their file name ("Resources//
// torvanel//skullcrack3front.jpg" is "skullcrack3front"). Keys may repeat:
// the first registered wins. Records move when the list grows, so hold keys,
// not references, across add.
#pragma once
#include <string>
#include <vector>

#include "render/shader_program.h"
#include "render/texture.h"

struct TextureRegistry;

struct ClipImage {
    TextureRegistry* registry;  // the shared state the sprite drawers read
    Texture texture;            // repeats in S and T
    std::string key;
};

struct TextureRegistry {
    std::vector<ClipImage> images;  // registration order
    float ObjectType = 0;  // look selector of the next sprite draws
    float ttime = 0;       // show time, as the sprite shaders see it
    float ittime = 0;      // show time stepped down to tenths
    ShaderProgram clipProgram;
    Texture paperTexture;
    int Mode = 0;
    float k0 = 0, k1 = 0, k2 = 0, k3 = 0, k4 = 0, k5 = 0;

    // Registers imagePath under its key, the pixels from picturePath when that
    // is not empty. Needs the GL context.
    void add(const std::string& imagePath, const std::string& picturePath);

    // The first image with exactly this key, or null.
    ClipImage* find(const std::string& key);
};

// The file name without its directories and its last four characters.
std::string clipKeyForPath(const std::string& imagePath);
