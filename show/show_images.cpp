#include "show/show_images.h"

#include <cstring>

#include "assets/texture_registry.h"
#include "platform/ordered_jobs.h"
#include "render/picture.h"

static const char* const SHOW_IMAGE_KEYS[SHOW_IMAGE_COUNT] = {
    "logo", "footsceleton", "digestive", "tanalia", "pin", "bee", "vice", "star", "planet1", "planet2",
    "planet3", "planet4", "greekback", "greekback3", "back3", "skullblood", "skullcrack3",
    "skullcrack3front", "skullcrack3back", "stage", "balloon2", "Mcave1", "Mcave2", "car4", "tap", "wings",
    "golg", "backcloud3", "backcloud4", "helmet", "water", "ulv", "light", "emptyroom", "musclesback",
    "cave", "umbrella", "tsekouri", "moona", "fore1", "fore2", "tree1", "tree2", "tree3", "nail",
    "otherhorse", "tear", "tooth1", "viola", "kourtina", "kourtina2", "tooth2", "tooth3", "tooth4", "tooth5",
    "tooth6", "sea1", "sea2", "frame_1", "tv", "saw", "otherback", "backtile1", "moon", "handother", "angel",
    "bird", "hammer", "oldman2", "skull", "ribcageb", "ribcagef", "type", "horse", "fishmore", "fish2",
    "musclesfront", "fruit1", "fruit2", "fruit3", "fruit4", "fruit5", "fruit6", "fruit7", "fruit8", "fruit9",
    "rope1", "rope2", "knife2", "spoon", "fork", "crab", "cloud1", "cloud2", "cloud3", "cloud4",
};

// The photographic backgrounds; every other picture is a PNG.
static const char* const JPEG_KEYS[] = {
    "back3", "skullblood", "skullcrack3", "skullcrack3front", "skullcrack3back", "stage", "golg", "backcloud3",
    "backcloud4", "water", "emptyroom", "cave", "tsekouri", "moona", "otherback", "backtile1",
};

// Keys whose picture was swapped for another file during production; the
// scenes still use the old key.
struct PictureSwap {
    const char* key;
    const char* file;
};
static const PictureSwap PICTURE_SWAPS[] = {
    {"back3", "backanimals.jpg"},   {"light", "ropeall.png"},          {"musclesback", "ear.png"},
    {"otherback", "otherback_tile.png"}, {"oldman2", "ribcage.png"},   {"fishmore", "fishmore2.png"},
    {"fish2", "fishskeleton.png"},  {"musclesfront", "skeletoncrawling.png"},
};

static const char* const SCENE_KEYS[] = {
    "logo", "otherback", "emptyroom", "cave", "stage", "Mcave1", "Mcave2", "back3", "backtile1", "moon", "bird",
    "oldman2", "vice", "skull", "otherhorse", "footsceleton", "fork", "spoon", "knife2", "crab", "fruit1",
    "fruit2", "fruit3", "fruit4", "fruit5", "fruit6", "fruit7", "fruit8", "fruit9", "fish2", "tanalia",
    "tooth4", "musclesfront", "hammer", "handother", "angel", "fishmore", "sea1", "sea2", "frame_1", "tv",
    "type", "rope1", "rope2", "kourtina", "kourtina2", "cloud1", "cloud2", "cloud3", "cloud4", "saw", "nail",
    "water", "golg", "moona", "tree1", "tree2", "tree3", "musclesback", "umbrella", "tsekouri", "bee",
    "helmet", "balloon2", "skullcrack3front", "skullcrack3back", "tear", "star", "planet1", "planet2",
    "planet3", "planet4", "backcloud3", "backcloud4", "ribcageb", "ribcagef", "greekback", "greekback3",
    "tap", "fore1", "fore2", "car4", "wings", "digestive", "viola",
};

static bool isJpegKey(const char* key) {
    for (const char* jpeg : JPEG_KEYS)
        if (std::strcmp(jpeg, key) == 0) return true;
    return false;
}

static const char* swappedPicture(const char* key) {
    for (const PictureSwap& swap : PICTURE_SWAPS)
        if (std::strcmp(swap.key, key) == 0) return swap.file;
    return nullptr;
}

std::vector<ShowImageFile> showImageFiles(const std::string& dataDir) {
    const std::string folder = dataDir + "torvanel//";
    std::vector<ShowImageFile> files;
    for (const char* key : SHOW_IMAGE_KEYS) {
        const char* swap = swappedPicture(key);
        files.push_back({folder + key + (isJpegKey(key) ? ".jpg" : ".png"), swap ? folder + swap : ""});
    }
    return files;
}

void registerShowImages(TextureRegistry& registry, const std::string& dataDir, const std::function<void()>& progress) {
    const std::vector<ShowImageFile> files = showImageFiles(dataDir);
    std::vector<TexturePicture> decoded(files.size());
    const int maxSide = maxTextureSide();
    runOrderedJobs(
        SHOW_IMAGE_COUNT,
        [&](int i) {
            const ShowImageFile& file = files[size_t(i)];
            decoded[size_t(i)] =
                decodeTexturePicture(file.picture.empty() ? file.image : file.picture, false, false, maxSide);
        },
        [&](int i) { registry.addDecoded(files[size_t(i)].image, files[size_t(i)].picture, decoded[size_t(i)]); },
        [&] {
            if (progress) progress();
        });
}

std::vector<std::string> missingSceneKeys(TextureRegistry& registry) {
    std::vector<std::string> missing;
    for (const char* key : SCENE_KEYS) {
        ClipImage* image = registry.find(key);
        if (!image || !image->texture.loaded) missing.push_back(key);
    }
    return missing;
}
