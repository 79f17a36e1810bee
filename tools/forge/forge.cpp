#include "forge.h"

#include "catalogue.h"

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
    if (r.kind == Kind::CutOut) return cutOut(drawing, c.seed, r.holes);
    if (drawing.channels() == 4) cv::cvtColor(drawing, drawing, cv::COLOR_BGRA2BGR);
    return wholePicture(drawing, c.seed);
}

std::string recipeNameFor(const std::string& file) {
    std::string stem = fileStem(file);
    size_t slash = file.find_last_of('/');
    std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    for (const ShowImage& im : showImages())
        if (im.file == base) return fileStem(im.picture);
    return stem;
}

std::vector<uchar> encodePicture(const cv::Mat& picture, const std::string& file) {
    std::vector<uchar> bytes;
    bool jpeg = file.size() > 4 && file.compare(file.size() - 4, 4, ".jpg") == 0;
    std::vector<int> params = jpeg ? std::vector<int>{cv::IMWRITE_JPEG_QUALITY, 92}
                                   : std::vector<int>{cv::IMWRITE_PNG_COMPRESSION, 6};
    cv::imencode(jpeg ? ".jpg" : ".png", picture, bytes, params);
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

cv::Mat contactSheet(const std::string& resourcesDir) {
    const int cell = 200, label = 22, columns = 12;
    std::vector<std::string> files = showFiles();
    int rows = static_cast<int>((files.size() + columns - 1) / columns);
    cv::Mat sheet(rows * (cell + label), columns * cell, CV_8UC3, cv::Scalar(200, 222, 236));
    for (size_t i = 0; i < files.size(); ++i) {
        int x0 = static_cast<int>(i % columns) * cell, y0 = static_cast<int>(i / columns) * (cell + label);
        cv::Mat img = cv::imread(resourcesDir + "/" + files[i], cv::IMREAD_COLOR);
        if (!img.empty()) {
            double s = (cell - 8.0) / std::max(img.cols, img.rows);
            cv::Mat thumb;
            cv::resize(img, thumb, cv::Size(std::max(1, static_cast<int>(img.cols * s)), std::max(1, static_cast<int>(img.rows * s))), 0, 0,
                       cv::INTER_AREA);
            // key colour shown as a slate ground so the cut-out edge reads
            for (int y = 0; y < thumb.rows; ++y)
                for (int x = 0; x < thumb.cols; ++x) {
                    cv::Vec3b& p = thumb.at<cv::Vec3b>(y, x);
                    if (p[1] > 200 && p[0] < 90 && p[2] < 90) p = cv::Vec3b(110, 100, 90);
                }
            thumb.copyTo(sheet(cv::Rect(x0 + (cell - thumb.cols) / 2, y0 + (cell - thumb.rows) / 2, thumb.cols, thumb.rows)));
        }
        std::string name = fileStem(files[i]);
        std::string key = recipeNameFor(files[i]);
        if (key != name) name += ">" + key;
        cv::putText(sheet, name, cv::Point(x0 + 4, y0 + cell + 16), cv::FONT_HERSHEY_SIMPLEX, 0.45, cv::Scalar(30, 40, 60), 1,
                    cv::LINE_AA);
    }
    return sheet;
}
