#include "forge.h"

#include "catalogue.h"
#include "jpeg.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

static uint32_t nameSeed(const std::string& name) {
    uint32_t h = 2166136261u;
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    return h;
}

// Stands in for a drawing whose clip art could not be read, so the show
// still finds a file of the right kind.
static cv::Mat placeholder(int size) {
    cv::Mat m = transparentCanvas(size, size);
    cv::ellipse(m, cv::Point(size / 2, size / 2), cv::Size(size / 3, size / 4), 0, 0, 360, ink(150, 170, 180), cv::FILLED);
    return m;
}

cv::Mat forgePicture(const Recipe& r, const std::string& clipartDir) {
    DrawContext c{clipartDir, cv::Mat(), r.size, nameSeed(r.name)};
    if (r.svg.path) c.base = renderSvg(clipartDir, r.svg, r.size);
    cv::Mat drawing = r.draw ? r.draw(c) : c.base;
    if (drawing.empty()) {
        std::fprintf(stderr, "forge: %s drawn as a placeholder\n", r.name.c_str());
        drawing = placeholder(r.size);
    }
    Print print{c.seed, static_cast<float>(r.size) / r.shown, r.accent, r.holes, r.kind == Kind::Repeats};
    if (r.kind == Kind::CutOut) return cutOut(drawing, print);
    if (drawing.channels() == 4) cv::cvtColor(drawing, drawing, cv::COLOR_BGRA2BGR);
    return r.kind == Kind::AsDrawn ? drawing : wholePicture(drawing, print);
}

std::string recipeNameFor(const std::string& file) {
    std::string stem = fileStem(file);
    size_t slash = file.find_last_of('/');
    std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    for (const ShowImage& im : showImages())
        if (im.file == base) return fileStem(im.picture);
    return stem;
}

// JPEG cut-outs get a quality at which the encoder's ringing next to the
// darkened cut edge stays out of the paper.
std::vector<uchar> encodePicture(const cv::Mat& picture, const std::string& file) {
    bool jpeg = file.size() > 4 && file.compare(file.size() - 4, 4, ".jpg") == 0;
    const Recipe* r = findRecipe(recipeNameFor(file));
    if (jpeg) return encodeJpeg(picture, r && r->kind == Kind::CutOut ? 99 : 94);
    std::vector<uchar> bytes;
    cv::imencode(".png", picture, bytes, {cv::IMWRITE_PNG_COMPRESSION, 6});
    return bytes;
}

int forgeAll(const std::string& clipartDir, const std::string& resourcesDir) {
    std::map<std::string, cv::Mat> made;
    int failed = 0;
    for (const std::string& file : showFiles()) {
        std::string name = recipeNameFor(file);
        const Recipe* r = findRecipe(name);
        if (!r) {
            std::fprintf(stderr, "forge: no recipe for %s\n", file.c_str());
            ++failed;
            continue;
        }
        if (!made.count(name)) made[name] = forgePicture(*r, clipartDir);
        std::filesystem::path path = std::filesystem::path(resourcesDir) / file;
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        std::vector<uchar> bytes = encodePicture(made[name], file);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "forge: cannot write %s\n", path.string().c_str());
            ++failed;
        }
    }
    return failed;
}
