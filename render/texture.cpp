#include "render/texture.h"

#include <cstdio>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "platform/console.h"
#include "platform/file_bytes.h"
#include "render/cooked_file.h"
#include "render/gl_state.h"
#include "render/picture.h"

static void setSamplingParameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

static float aspectOf(int width, int height) {
    return height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
}

// The largest file a picture may come from: far beyond any picture within
// the pixel budget.
static const size_t MAX_PICTURE_FILE_BYTES = 128u << 20;

// Rows of three-byte pixels stay a multiple of four bytes long, as the default
// unpack alignment wants: the width is squeezed, not cropped. No flips.
static TexturePicture decodeTextureBytes(const std::string& path, const std::vector<uint8_t>& bytes, int maxSide) {
    TexturePicture out;
    std::string why;
    cv::Mat bgr = decodePicture(bytes, cv::IMREAD_COLOR, maxSide, &why);
    if (bgr.empty()) {
        out.failure = "loadTexture - cannot read or decode " + path + " - " + why;
        return out;
    }
    int width = bgr.cols / 4 * 4;
    if (width == 0) {
        out.failure = "loadTexture - " + path + " is narrower than 4 pixels";
        return out;
    }
    cv::Mat rgb;
    try {
        cv::cvtColor(bgr, rgb, cv::COLOR_BGR2RGB);
        if (width != rgb.cols) {
            cv::Mat squeezed;
            cv::resize(rgb, squeezed, cv::Size(width, rgb.rows), 0, 0, cv::INTER_LINEAR);
            rgb = squeezed;
        }
    } catch (const std::exception& e) {
        out.failure = "loadTexture - cannot decode " + path + " - " + e.what();
        return out;
    }
    out.rgb = rgb.isContinuous() ? rgb : rgb.clone();
    return out;
}

// The cooked pixels of a source when they match it and fit the limits the
// decoder would apply; otherwise empty, with a line in *note when the cooked
// file is stale or damaged.
static cv::Mat cookedTexturePixels(const std::string& path, const std::vector<uint8_t>& bytes, int maxSide,
                                   std::string* note) {
    CookedPixels cooked;
    std::string why;
    CookedLookup found = readCookedFile(cookedPathFor(path), bytes, COOKED_RGB, &cooked, &why);
    if (found == COOKED_STALE || found == COOKED_DAMAGED) {
        *note = "loadTexture - " + cookedPathFor(path) + " - " + why + ", decoding " + path;
        return cv::Mat();
    }
    if (found != COOKED_FOUND || (maxSide > 0 && (cooked.sourceWidth > maxSide || cooked.sourceHeight > maxSide)))
        return cv::Mat();
    return cooked.pixels.reshape(3, cooked.height);
}

TexturePicture decodeTexturePicture(const std::string& path, bool mirror, bool upsideDown, int maxSide) {
    TexturePicture out;
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readWholeFile(path, MAX_PICTURE_FILE_BYTES, &bytes, &why)) {
        out.failure = "loadTexture - cannot read or decode " + path + " - " + why;
        return out;
    }
    std::string note;
    cv::Mat cooked = cookedTexturePixels(path, bytes, maxSide, &note);
    if (cooked.empty())
        out = decodeTextureBytes(path, bytes, maxSide);
    else
        out.rgb = cooked;
    out.note = note;
    if (out.rgb.empty()) return out;
    try {
        if (mirror) cv::flip(out.rgb, out.rgb, 1);
        if (upsideDown) cv::flip(out.rgb, out.rgb, 0);
    } catch (const std::exception& e) {
        out.rgb.release();
        out.failure = "loadTexture - cannot decode " + path + " - " + e.what();
    }
    return out;
}

bool cookTexturePicture(const std::string& path, std::vector<uint8_t>* cookedFile, std::string* failure) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readWholeFile(path, MAX_PICTURE_FILE_BYTES, &bytes, &why)) {
        *failure = "cannot read " + path + " - " + why;
        return false;
    }
    TexturePicture decoded = decodeTextureBytes(path, bytes, 0);
    if (decoded.rgb.empty()) {
        *failure = decoded.failure;
        return false;
    }
    int sourceWidth = 0, sourceHeight = 0;
    readPictureSize(bytes.data(), bytes.size(), &sourceWidth, &sourceHeight);
    CookedPixels cooked;
    cooked.kind = COOKED_RGB;
    cooked.width = decoded.rgb.cols;
    cooked.height = decoded.rgb.rows;
    cooked.sourceWidth = sourceWidth;
    cooked.sourceHeight = sourceHeight;
    cooked.pixels = decoded.rgb.reshape(1, 1);
    *cookedFile = encodeCookedFile(cooked, bytes.data(), bytes.size());
    return true;
}

void uploadTexturePicture(Texture& texture, const std::string& path, TexturePicture& picture) {
    consolePrint(ConsoleLevel::Detail, "Reading... %s\n", path.c_str());
    if (!picture.note.empty()) consolePrint(ConsoleLevel::Detail, "%s\n", picture.note.c_str());
    if (picture.rgb.empty()) {
        printf("%s\n", picture.failure.c_str());
        return;
    }
    clearGLErrors();
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    setSamplingParameters();
    const cv::Mat& rgb = picture.rgb;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, rgb.cols, rgb.rows, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data);
    // A driver out of memory refuses the picture: then it is not loaded.
    if (GLenum error = glGetError(); error != GL_NO_ERROR) {
        printf("loadTexture - cannot upload %s - GL error 0x%x\n", path.c_str(), error);
        glDeleteTextures(1, &id);
        picture.rgb.release();
        return;
    }
    texture.id = id;
    texture.loaded = true;
    texture.width = rgb.cols;
    texture.height = rgb.rows;
    texture.aspect = aspectOf(texture.width, texture.height);
    picture.rgb.release();  // nothing decoded outlives its upload
}

void loadTexture(Texture& texture, const std::string& path, bool mirror, bool upsideDown) {
    TexturePicture picture = decodeTexturePicture(path, mirror, upsideDown, maxTextureSide());
    uploadTexturePicture(texture, path, picture);
}

void uploadCompressedTexture(Texture& texture, const std::vector<uint8_t>& blocks, int width, int height) {
    if (texture.id == 0) glGenTextures(1, &texture.id);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    setSamplingParameters();
    glCompressedTexImage2D(GL_TEXTURE_2D, 0, GL_COMPRESSED_RGB_S3TC_DXT1_EXT, width, height, 0, GLsizei(blocks.size()),
                           blocks.data());
    texture.width = width;
    texture.height = height;
    texture.aspect = aspectOf(width, height);
}

void createTexture(Texture& texture, int width, int height) {
    texture.width = width;
    texture.height = height;
    texture.internalFormat = 3;
    texture.pixelType = GL_UNSIGNED_BYTE;
    texture.pixelFormat = GL_BGR;
    texture.aspect = aspectOf(width, height);
    glGenTextures(1, &texture.id);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    setSamplingParameters();
}

void uploadTexture(Texture& texture, const void* pixels) {
    glBindTexture(GL_TEXTURE_2D, texture.id);
    setSamplingParameters();
    glTexImage2D(GL_TEXTURE_2D, 0, texture.internalFormat, texture.width, texture.height, 0,
                 texture.pixelFormat, texture.pixelType, pixels);
    texture.aspect = aspectOf(texture.width, texture.height);
}
