// sprite_gl_canvas.h - what the sprite GL tests share: a registry with the
// real clip program and paper, and a render target to draw cut-outs into
// and read back.
//
//   TextureRegistry registry;
//   ASSERT_TRUE(loadSpriteRegistry(registry));
//   SpriteCanvas canvas(320, 180, 1.7777778f);   // x spans -1.78..1.78, y -1..1
//   registry.find("skull")->draw();
//   std::vector<uint8_t> rgba = canvas.read(0);  // RGBA rows, top row first
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include <string>
#include <vector>

#include "assets/texture_registry.h"
#include "render/render_target.h"

// Loads the program from Resources/shaders; false when it does not link.
// The loader's log is shown only when something failed.
inline bool loadSpriteRegistry(TextureRegistry& registry) {
    if (chdir(TORVANEL_SOURCE_DIR) != 0) return false;
    testing::internal::CaptureStdout();
    registry.sprite.clipProgram.load("Resources//shaders//v_clip.cpp", "Resources//shaders//f_clip.cpp");
    loadTexture(registry.sprite.paperTexture, "Resources//torvanel//paper.png", false, false);
    std::string log = testing::internal::GetCapturedStdout();
    GLint linked = 0;
    glGetProgramiv(registry.sprite.clipProgram.program, GL_LINK_STATUS, &linked);
    bool ok = linked == GL_TRUE && registry.sprite.paperTexture.loaded && log.find("rror") == std::string::npos;
    if (!ok) fprintf(stderr, "%s", log.c_str());
    return ok;
}

// A 960 x 540 stand-in for a mesh target, bound and cleared the way a mesh
// frame draw leaves it around the figure: cyan with alpha 0.
inline RenderTarget clearedMeshTarget() {
    RenderTarget mesh;
    mesh.create(960, 540, 0);
    mesh.attach(1);
    mesh.bind(1);
    glViewport(0, 0, 960, 540);
    glClearColor(0, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return mesh;
}

struct SpriteCanvas {
    RenderTarget target;

    // An orthographic view halfWidth wide each side of the middle, 1 high.
    SpriteCanvas(int width, int height, float halfWidth) {
        target.create(width, height, 0);
        target.attach(3);
        target.bind(3);
        glViewport(0, 0, width, height);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-halfWidth, halfWidth, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_DEPTH_TEST);
        glColor4f(1, 1, 1, 1);
    }

    // One output as RGBA bytes, the top row first.
    std::vector<uint8_t> read(int output) {
        target.resolve(3);
        std::vector<uint8_t> rgba(size_t(target.width) * target.height * 4);
        glBindTexture(GL_TEXTURE_2D, target.colourTextures[output]);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        std::vector<uint8_t> flipped(rgba.size());
        size_t row = size_t(target.width) * 4;
        for (int y = 0; y < target.height; y++)
            std::copy(rgba.begin() + y * row, rgba.begin() + (y + 1) * row, flipped.begin() + (target.height - 1 - y) * row);
        target.bind(3);
        return flipped;
    }

    const uint8_t* at(const std::vector<uint8_t>& rgba, int x, int y) const {
        return &rgba[(size_t(y) * target.width + x) * 4];
    }
};
