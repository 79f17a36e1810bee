// texture.h - 2D textures from image files or from raw B, G, R pixels.
//
//   Texture paper;
//   loadTexture(paper, "Resources//torvanel//paper.png", false, false);
//   if (paper.loaded) ...                   // id, width, height, aspect
//
//   Texture frame;
//   createTexture(frame, 640, 480);          // raw uploads of that size
//   uploadTexture(frame, bgrPixels);         // rows four-byte aligned
//
// Every texture filters linearly without mipmaps and clamps to the edge. The
// first image row (the top of the file) is texture row t = 0. The record does
// not own its GL texture: copies share it and nothing deletes it.
#pragma once
#include <GL/glew.h>
#include <GL/glu.h>
#include <cstdint>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

struct Texture {
    GLuint id = 0;
    bool loaded = false;
    float aspect = 1.0f;  // width / height
    int width = 0;
    int height = 0;
    int internalFormat = 0;  // raw uploads only: 3, GL_UNSIGNED_BYTE, GL_BGR
    int pixelType = 0;
    int pixelFormat = 0;
};

// Decodes through OpenCV, drops alpha, squeezes the width down to a multiple
// of 4. A missing, undecodable or too narrow file leaves the record as it
// was (unloaded for a fresh one) and prints one line.
void loadTexture(Texture& texture, const std::string& path, bool mirror, bool upsideDown);

// loadTexture in two halves, so that pictures decode on worker threads while
// the main thread uploads: the decode needs no GL (maxSide from
// maxTextureSide() on the main thread) and prints nothing; the upload prints
// what loadTexture prints, in the same order.
// The decode takes the file's cooked pixels (cooked_file.h) instead when they
// match the file; the pixels are the same either way.
struct TexturePicture {
    cv::Mat rgb;          // rows of R, G, B, the top row first; empty on failure
    std::string failure;  // the line loadTexture prints for it
    std::string note;     // a line for a stale or damaged cooked file, printed too
};
TexturePicture decodeTexturePicture(const std::string& path, bool mirror, bool upsideDown, int maxSide);
void uploadTexturePicture(Texture& texture, const std::string& path, TexturePicture& picture);

// The cooked file of a picture: its pixels as decodeTexturePicture gives them
// unflipped. False, with the reason, when the file does not decode.
bool cookTexturePicture(const std::string& path, std::vector<uint8_t>* cookedFile, std::string* failure);

// A DXT1 picture (see dxt1.h), filtered and clamped like the others.
void uploadCompressedTexture(Texture& texture, const std::vector<uint8_t>& blocks, int width, int height);

void createTexture(Texture& texture, int width, int height);
// width x height pixels of three bytes in B, G, R order; the caller keeps them.
void uploadTexture(Texture& texture, const void* pixels);
