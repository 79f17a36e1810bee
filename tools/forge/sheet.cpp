#include "sheet.h"

#include "catalogue.h"
#include "forge.h"
#include "key.h"
#include "palette.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>

static const int kThumb = 200, kLabel = 24, kGap = 8, kColumns = 6;

// The picture over a ground, as the clip shader lays a cut-out (B, G, R 0..1).
static cv::Mat laidOn(const cv::Mat& picture, const cv::Mat& ground, bool cutOut) {
    cv::Mat out(picture.size(), CV_32FC3);
    for (int y = 0; y < picture.rows; ++y)
        for (int x = 0; x < picture.cols; ++x) {
            cv::Vec3b t = picture.at<cv::Vec3b>(y, x);
            float a = cutOut ? keyCoverage(t) : 1.0f;
            cv::Vec3f c = cutOut ? shownColour(t) : cv::Vec3f(t[0], t[1], t[2]) / 255.0f;
            out.at<cv::Vec3f>(y, x) = c * a + ground.at<cv::Vec3f>(y, x) * (1.0f - a);
        }
    return out;
}

static cv::Mat checkerboard(cv::Size size) {
    cv::Mat m(size, CV_32FC3);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            float v = ((x / 16 + y / 16) % 2) ? 0.42f : 0.62f;
            m.at<cv::Vec3f>(y, x) = cv::Vec3f(v, v, v);
        }
    return m;
}

static cv::Mat thumbnail(const cv::Mat& full) {
    double s = static_cast<double>(kThumb) / std::max(full.cols, full.rows);
    cv::Mat t;
    cv::resize(full, t, cv::Size(std::max(1, static_cast<int>(full.cols * s)), std::max(1, static_cast<int>(full.rows * s))), 0,
               0, cv::INTER_AREA);
    t.convertTo(t, CV_8UC3, 255.0);
    return t;
}

// The loading screen's quad in a 16:9 window: the picture stretched over the
// window's middle 77 % across, from 23 % of the height to the bottom.
static cv::Mat loadingScreen(const cv::Mat& picture) {
    cv::Mat window(cv::Size(2 * kThumb, 2 * kThumb * 9 / 16), CV_8UC3, cv::Scalar(0, 0, 0));
    cv::Rect quad(window.cols * 116 / 1000, window.rows * 231 / 1000, window.cols * 768 / 1000, window.rows * 769 / 1000);
    cv::Mat stretched;
    cv::resize(picture, stretched, quad.size(), 0, 0, cv::INTER_AREA);
    stretched.copyTo(window(quad));
    return window;
}

cv::Mat contactSheet(const std::string& resourcesDir) {
    std::vector<std::pair<std::string, std::string>> entries;  // label, file
    for (const char* file : {"torvanel/paper.png", "torvanel/pattern3.jpg", "torvanel/pattern4.jpg", "torvanel/patternr.jpg"})
        entries.push_back({fileStem(file), file});
    for (const ShowImage& im : showImages())
        entries.push_back({im.picture == im.file ? im.key : im.key + " (" + im.picture + ")", "torvanel/" + im.picture});
    entries.push_back({"loading screen, 16:9", "demoresources/torvanel_loader.png"});

    int cellW = 2 * kThumb + 3 * kGap, cellH = kThumb + kLabel + kGap;
    int rows = static_cast<int>((entries.size() + kColumns - 1) / kColumns);
    cv::Vec3f paper = paperColour();
    cv::Mat sheet(rows * cellH + kGap, kColumns * cellW, CV_8UC3, cv::Scalar(60, 60, 60));
    for (size_t i = 0; i < entries.size(); ++i) {
        int x0 = static_cast<int>(i % kColumns) * cellW + kGap, y0 = static_cast<int>(i / kColumns) * cellH + kGap;
        const std::string& file = entries[i].second;
        cv::Mat img = cv::imread(resourcesDir + "/" + file, cv::IMREAD_COLOR);
        if (!img.empty() && file.rfind("demoresources/", 0) == 0) {
            cv::Mat screen = loadingScreen(img);
            screen.copyTo(sheet(cv::Rect(x0, y0 + (kThumb - screen.rows) / 2, screen.cols, screen.rows)));
        } else if (!img.empty()) {
            const Recipe* r = findRecipe(recipeNameFor(file));
            bool cutOut = r && r->kind == Kind::CutOut;
            cv::Mat grounds[2] = {checkerboard(img.size()), cv::Mat(img.size(), CV_32FC3, cv::Scalar(paper[0], paper[1], paper[2]))};
            for (int g = 0; g < 2; ++g) {
                cv::Mat t = thumbnail(laidOn(img, grounds[g], cutOut));
                int x = x0 + g * (kThumb + kGap) + (kThumb - t.cols) / 2, y = y0 + (kThumb - t.rows) / 2;
                t.copyTo(sheet(cv::Rect(x, y, t.cols, t.rows)));
            }
        }
        cv::putText(sheet, entries[i].first, cv::Point(x0, y0 + kThumb + 17), cv::FONT_HERSHEY_SIMPLEX, 0.5,
                    cv::Scalar(235, 235, 235), 1, cv::LINE_AA);
    }
    return sheet;
}
