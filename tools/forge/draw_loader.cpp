// The loading screen. The show draws it on a square quad through a square
// field of view stretched to the window: in a 16:9 window the quad covers
// the middle 77 % of the width and runs from 23 % of the height down to the
// bottom edge, and the window's middle falls 35 % down the picture. So the
// picture is laid out on a 16:9 sheet the shape the quad takes on screen,
// centred on that point, and squeezed to a square: round on the sheet is
// round on screen. It is added onto black, so its ground is pure black and
// the quad's edge never shows.
#include "draw.h"
#include "look.h"
#include "palette.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

static const float kScreenMiddle = 0.35f;  // of the picture's height

cv::Mat composeLoader(const DrawContext& c) {
    const int h = c.size, w = c.size * 16 / 9;
    const cv::Vec3f paper = paperColour(), inkTone = inkColour();
    cv::Mat sheet(h, w, CV_32FC3, cv::Scalar(0, 0, 0));
    cv::Point2f centre(w * 0.5f, h * (kScreenMiddle - 0.065f));
    float radius = 0.2f * h;

    // a roundel of paper, cut a little unevenly, the seal printed on it
    cv::Mat emblem(h, w, CV_32F, cv::Scalar(0));
    if (!c.base.empty()) {
        float fit = 1.45f * radius / std::max(c.base.cols, c.base.rows);
        cv::Mat seal;
        cv::resize(c.base, seal, cv::Size(), fit, fit, cv::INTER_AREA);
        cv::Point at(cvRound(centre.x - seal.cols / 2.0f), cvRound(centre.y - seal.rows / 2.0f + 0.04f * radius));
        for (int y = 0; y < seal.rows; ++y)
            for (int x = 0; x < seal.cols; ++x) emblem.at<float>(at.y + y, at.x + x) = seal.at<cv::Vec4b>(y, x)[3] / 255.0f;
    }
    cv::Mat grain = smoothNoise(sheet.size(), 2, c.seed), mottle = smoothNoise(sheet.size(), 40, c.seed + 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            cv::Point2f v(x + 0.5f - centre.x, y + 0.5f - centre.y);
            float angle = std::atan2(v.y, v.x), edge = radius * (1.0f + 0.006f * std::sin(angle * 7.0f) + 0.004f * std::sin(angle * 19.0f));
            float d = static_cast<float>(cv::norm(v));
            float cover = std::clamp(edge - d + 0.5f, 0.0f, 1.0f);
            if (cover <= 0.0f) continue;
            float ring = std::clamp(1.5f - std::abs(d - 0.92f * radius), 0.0f, 1.0f);
            float ink = std::max(emblem.at<float>(y, x), ring);
            cv::Vec3f tone = paper * (0.92f + 0.06f * grain.at<float>(y, x) + 0.04f * mottle.at<float>(y, x));
            sheet.at<cv::Vec3f>(y, x) = (tone * (1.0f - ink) + inkTone * ink) * cover;
        }

    // the title beneath, in the paper's colour
    const char* title = "TORVANEL";
    double scale = h / 330.0;
    int thickness = std::max(2, h / 300), baseline = 0;
    cv::Size text = cv::getTextSize(title, cv::FONT_HERSHEY_TRIPLEX, scale, thickness, &baseline);
    cv::putText(sheet, title, cv::Point(cvRound(centre.x - text.width / 2.0f), cvRound(centre.y + radius + 0.05f * h + text.height)),
                cv::FONT_HERSHEY_TRIPLEX, scale, cv::Scalar(paper[0], paper[1], paper[2]), thickness, cv::LINE_AA);

    cv::Mat square, out;
    cv::resize(sheet, square, cv::Size(c.size, c.size), 0, 0, cv::INTER_AREA);
    square.convertTo(out, CV_8UC3, 255.0);
    return out;
}
