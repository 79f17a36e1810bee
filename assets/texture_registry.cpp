#include "assets/texture_registry.h"

#include <GL/glew.h>

#include "render/picture.h"

std::string clipKeyForPath(const std::string& imagePath) {
    // The four characters are the dot and a three-letter extension.
    std::string key = imagePath.size() > 4 ? imagePath.substr(0, imagePath.size() - 4) : std::string();
    size_t slash = key.rfind('/');
    return slash == std::string::npos ? key : key.substr(slash + 1);
}

void TextureRegistry::add(const std::string& imagePath, const std::string& picturePath) {
    const std::string& file = picturePath.empty() ? imagePath : picturePath;
    TexturePicture picture = decodeTexturePicture(file, false, false, maxTextureSide());
    addDecoded(imagePath, picturePath, picture);
}

void TextureRegistry::addDecoded(const std::string& imagePath, const std::string& picturePath,
                                 TexturePicture& picture) {
    ClipImage image = {this, Texture(), clipKeyForPath(imagePath)};
    uploadTexturePicture(image.texture, picturePath.empty() ? imagePath : picturePath, picture);
    if (image.texture.loaded) {
        glBindTexture(GL_TEXTURE_2D, image.texture.id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    images.push_back(std::move(image));
}

ClipImage* TextureRegistry::find(const std::string& key) {
    for (ClipImage& image : images)
        if (image.key == key) return &image;  // std::string compares lengths first
    return nullptr;
}
