#include "catalogue.h"

#include <cstring>

static const char* const kKeys[] = {
    "logo", "footsceleton", "digestive", "tanalia", "pin", "bee", "vice", "star",
    "planet1", "planet2", "planet3", "planet4", "greekback", "greekback3", "back3",
    "skullblood", "skullcrack3", "skullcrack3front", "skullcrack3back", "stage",
    "balloon2", "Mcave1", "Mcave2", "car4", "tap", "wings", "golg", "backcloud3",
    "backcloud4", "helmet", "water", "ulv", "light", "emptyroom", "musclesback",
    "cave", "umbrella", "tsekouri", "moona", "fore1", "fore2", "tree1", "tree2",
    "tree3", "nail", "otherhorse", "tear", "tooth1", "viola", "kourtina",
    "kourtina2", "tooth2", "tooth3", "tooth4", "tooth5", "tooth6", "sea1", "sea2",
    "frame_1", "tv", "saw", "otherback", "backtile1", "moon", "handother", "angel",
    "bird", "hammer", "oldman2", "skull", "ribcageb", "ribcagef", "type", "horse",
    "fishmore", "fish2", "musclesfront", "fruit1", "fruit2", "fruit3", "fruit4",
    "fruit5", "fruit6", "fruit7", "fruit8", "fruit9", "rope1", "rope2", "knife2",
    "spoon", "fork", "crab", "cloud1", "cloud2", "cloud3", "cloud4",
};

static const char* const kJpegKeys[] = {
    "back3", "skullblood", "skullcrack3", "skullcrack3front", "skullcrack3back",
    "stage", "golg", "backcloud3", "backcloud4", "water", "emptyroom", "cave",
    "tsekouri", "moona", "otherback", "backtile1",
};

static const char* const kSubstitutes[][2] = {
    {"back3", "backanimals.jpg"},     {"light", "ropeall.png"},
    {"musclesback", "ear.png"},       {"otherback", "otherback_tile.png"},
    {"oldman2", "ribcage.png"},       {"fishmore", "fishmore2.png"},
    {"fish2", "fishskeleton.png"},    {"musclesfront", "skeletoncrawling.png"},
};

std::vector<ShowImage> showImages() {
    std::vector<ShowImage> out;
    for (const char* key : kKeys) {
        const char* ext = ".png";
        for (const char* j : kJpegKeys)
            if (std::strcmp(j, key) == 0) ext = ".jpg";
        ShowImage im{key, std::string(key) + ext, ""};
        im.picture = im.file;
        for (const auto& s : kSubstitutes)
            if (std::strcmp(s[0], key) == 0) im.picture = s[1];
        out.push_back(im);
    }
    return out;
}

std::vector<std::string> showFiles() {
    std::vector<std::string> out = {"torvanel/paper.png", "torvanel/pattern3.jpg",
                                    "torvanel/pattern4.jpg", "torvanel/patternr.jpg"};
    for (const ShowImage& im : showImages()) out.push_back("torvanel/" + im.file);
    for (const auto& s : kSubstitutes) out.push_back(std::string("torvanel/") + s[1]);
    out.push_back("demoresources/torvanel_loader.png");
    return out;
}

std::string fileStem(const std::string& file) {
    size_t slash = file.find_last_of('/');
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}
