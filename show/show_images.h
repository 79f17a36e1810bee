// show_images.h - the named cut-outs the show registers, and the check that
// the scenes will find every picture they draw.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct TextureRegistry;

constexpr int SHOW_IMAGE_COUNT = 96;

// A registered picture's file, and the file its pixels come from when another
// picture stands in for it (empty otherwise).
struct ShowImageFile {
    std::string image, picture;
};
// The show's pictures in registration order, as TextureRegistry::add takes them.
std::vector<ShowImageFile> showImageFiles(const std::string& dataDir);

// Registers the show's pictures from dataDir + "torvanel//", in their fixed
// order: decoded on worker threads, uploaded in order on the calling thread
// (which owns the GL context), progress() run while it waits.
void registerShowImages(TextureRegistry& registry, const std::string& dataDir, const std::function<void()>& progress);

// The keys the scenes draw that the registry lacks. Set-up reports each one,
// so a missing picture is named at loading, not met as a blank mid-show.
std::vector<std::string> missingSceneKeys(TextureRegistry& registry);
