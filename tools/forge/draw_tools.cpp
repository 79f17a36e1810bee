// Tools drawn from their parts: the axe (a wedge of steel with a ground
// bevel on a curved haft), the pincers (two rounded jaws over a rivet, long
// handles, one ending in a knob and one in a claw) and the printer's type (a
// forme of metal sorts locked in a wooden chase, every letter reversed).
#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

static const cv::Vec3f kSteel(1.0f, 0.96f, 0.9f);  // B G R: a cool grey
static const cv::Vec3f kWood(0.5f, 0.72f, 0.92f);

static std::vector<cv::Point2f> at(const cv::Mat& m, std::initializer_list<cv::Point2f> unit) {
    return scaled(std::vector<cv::Point2f>(unit), m);
}

cv::Mat drawAxe(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size / 2);
    float h = static_cast<float>(m.rows);
    // the haft: ash, swelling to the grip and curving back to a hooked knob
    std::vector<cv::Point2f> haft =
        smoothCurve(at(m, {{0.08f, 0.2f}, {0.3f, 0.22f}, {0.55f, 0.32f}, {0.8f, 0.46f}, {0.92f, 0.52f}, {0.96f, 0.44f}}), false, 16);
    shadedStroke(m, haft, 0.13f * h, 0.95f, 0.5f, kWood);
    for (int k = 0; k < 3; ++k) {  // grain along it
        std::vector<cv::Point> grain;
        for (size_t i = 24; i + 20 < haft.size(); i += 2)
            grain.push_back(haft[i] + cv::Point2f(0, (k - 1) * 0.03f * h + 0.004f * h * std::sin(0.3f * i + k)));
        cv::polylines(m, grain, false, ink(60, 95, 130), std::max(1, c.size / 500), cv::LINE_AA);
    }
    // the head: a short poll above the eye, cheeks flaring down to a curved edge
    std::vector<cv::Point2f> head = at(m, {{0.11f, 0.04f}, {0.22f, 0.04f}, {0.23f, 0.3f}, {0.26f, 0.52f}, {0.33f, 0.76f}, {0.36f, 0.9f}});
    std::vector<cv::Point2f> edge;
    for (int i = 0; i <= 16; ++i) {  // the cutting edge bows outward
        float t = i / 16.0f;
        edge.push_back(cv::Point2f((0.36f - 0.33f * t) * m.cols, (0.9f + 0.07f * std::sin(t * 3.14159f)) * h));
    }
    head.insert(head.end(), edge.begin(), edge.end());
    for (cv::Point2f p : at(m, {{0.06f, 0.74f}, {0.1f, 0.5f}, {0.1f, 0.3f}})) head.push_back(p);
    shadedShape(m, head, 0.85f, 0.38f, kSteel);
    // the bevel ground along the edge, bright, with the line where it starts
    std::vector<cv::Point2f> bevel = edge;
    for (int i = 16; i >= 0; --i) {
        float t = i / 16.0f;
        bevel.push_back(cv::Point2f((0.345f - 0.31f * t) * m.cols, (0.78f + 0.05f * std::sin(t * 3.14159f)) * h));
    }
    shadedShape(m, bevel, 1.0f, 0.75f, kSteel);
    std::vector<cv::Point> bevelLine;
    for (size_t i = 17; i < bevel.size(); ++i) bevelLine.push_back(bevel[i]);
    cv::polylines(m, bevelLine, false, grey(0.25), std::max(1, c.size / 300), cv::LINE_AA);
    // the eye: the haft's wedged end showing through the top of the head
    cv::ellipse(m, cv::Point2f(0.165f * m.cols, 0.2f * h), cv::Size(static_cast<int>(0.035f * m.cols), static_cast<int>(0.07f * h)), 0, 0, 360,
                ink(70, 120, 170), cv::FILLED, cv::LINE_AA);
    cv::line(m, cv::Point2f(0.165f * m.cols, 0.14f * h), cv::Point2f(0.165f * m.cols, 0.26f * h), grey(0.2), std::max(1, c.size / 300), cv::LINE_AA);
    return m;
}

cv::Mat drawPincers(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size / 2, c.size);
    float w = static_cast<float>(m.cols);
    for (int side : {-1, 1}) {
        float s = static_cast<float>(side);
        // a handle crosses the rivet to become the opposite jaw
        std::vector<cv::Point2f> handle = smoothCurve(
            at(m, {{0.5f - s * 0.2f, 0.18f}, {0.5f + s * 0.02f, 0.3f}, {0.5f + s * 0.12f, 0.5f}, {0.5f + s * 0.2f, 0.75f}, {0.5f + s * 0.3f, 0.95f}}), false,
            16);
        shadedStroke(m, handle, 0.11f * w, 0.9f, 0.4f, kSteel);
        std::vector<cv::Point2f> jaw =
            smoothCurve(at(m, {{0.5f - s * 0.2f, 0.18f}, {0.5f - s * 0.26f, 0.1f}, {0.5f - s * 0.16f, 0.035f}, {0.5f - s * 0.01f, 0.03f}}), false, 12);
        shadedStroke(m, jaw, 0.13f * w, 0.95f, 0.45f, kSteel);
    }
    cv::Point2f knob(0.2f * w, 0.95f * m.rows), claw(0.8f * w, 0.95f * m.rows);
    shadedBall(m, knob, 0.06f * w, 0.95f, 0.45f, kSteel);
    std::vector<cv::Point2f> fork = {claw + cv::Point2f(-0.06f * w, -0.02f * w), claw + cv::Point2f(0.05f * w, 0.09f * w),
                                     claw + cv::Point2f(0.0f, 0.03f * w), claw + cv::Point2f(-0.07f * w, 0.1f * w),
                                     claw + cv::Point2f(-0.05f * w, 0.0f)};
    shadedShape(m, fork, 0.9f, 0.45f, kSteel);
    cv::Point2f rivet(0.5f * w, 0.24f * m.rows);
    shadedBall(m, rivet, 0.055f * w, 1.0f, 0.5f, kSteel);
    cv::circle(m, rivet, static_cast<int>(0.055f * w), grey(0.2), std::max(1, c.size / 300), cv::LINE_AA);
    return m;
}

// The forme fills a 16:9 sheet, as the show stretches it over the screen.
cv::Mat drawTypeForme(const DrawContext& c) {
    int w = c.size, h = c.size * 9 / 16;
    cv::Mat m = transparentCanvas(w, h);
    float u = h / 100.0f;
    std::vector<cv::Point2f> chase = {{2 * u, 2 * u}, {w - 2 * u, 2 * u}, {w - 2 * u, h - 2 * u}, {2 * u, h - 2 * u}};
    shadedShape(m, chase, 0.9f, 0.45f, kWood);
    cv::rectangle(m, cv::Point2f(9 * u, 9 * u), cv::Point2f(w - 9 * u, h - 9 * u), grey(0.18), cv::FILLED);
    const char* lines[] = {"TORVANEL", "QUILLARET", "PAPER & INK", "ABCDEFGHIJKLM", "0123456789"};
    float rowHeight = (h - 20 * u) / 5;
    for (int row = 0; row < 5; ++row) {
        std::string text = lines[row];
        float sort = rowHeight * (row < 2 ? 0.82f : 0.62f), y = 10 * u + row * rowHeight + (rowHeight - sort) / 2;
        float x = 0.5f * w - 0.5f * sort * 0.78f * text.size();
        for (char ch : text) {
            cv::Point2f a(x + 0.03f * sort, y), b(x + 0.75f * sort, y + sort);
            shadedShape(m, {a, {b.x, a.y}, b, {a.x, b.y}}, 0.85f, 0.45f, kSteel);
            if (ch != ' ') {
                int weight = std::max(2, static_cast<int>(sort / 10)), unused = 0;
                double scale = 0.6 * sort / cv::getTextSize("M", cv::FONT_HERSHEY_TRIPLEX, 1.0, weight, &unused).height;
                cv::Size size = cv::getTextSize(std::string(1, ch), cv::FONT_HERSHEY_TRIPLEX, scale, weight, &unused);
                cv::putText(m, std::string(1, ch), cv::Point2f(0.5f * (a.x + b.x) - 0.5f * size.width, 0.5f * (a.y + b.y) + 0.5f * size.height),
                            cv::FONT_HERSHEY_TRIPLEX, scale, grey(0.12), weight, cv::LINE_AA);
            }
            x += 0.78f * sort;
        }
    }
    cv::flip(m, m, 1);  // type is cut in reverse, to print the right way round
    return m;
}
