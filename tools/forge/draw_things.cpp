#include "draw.h"
#include "svg.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

static const double kPi = 3.14159265358979;

static cv::Point at(const cv::Mat& m, double x, double y) {
    return cv::Point(static_cast<int>(x * m.cols), static_cast<int>(y * m.rows));
}

static std::vector<cv::Point2f> box(const cv::Mat& m, float x0, float y0, float x1, float y1) {
    return scaled({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, m);
}

// A bench vice from the side: the fixed jaw cast with the anvil's horn, the
// sliding jaw, serrated jaw plates, the slide under them and the screw
// turned by a bar with a knob at each end.
cv::Mat drawVice(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size * 3 / 4);
    const float ironLight = 0.7f, ironDark = 0.25f, steelLight = 0.97f, steelDark = 0.45f;
    float h = static_cast<float>(m.rows);
    shadedShape(m, scaled({{0.1f, 0.86f}, {0.72f, 0.86f}, {0.74f, 0.9f}, {0.72f, 0.95f}, {0.1f, 0.95f}, {0.08f, 0.9f}}, m), ironLight,
                ironDark);  // the foot, bolted to the bench
    shadedShape(m, box(m, 0.34f, 0.6f, 0.7f, 0.7f), steelLight, steelDark);  // the slide
    shadedShape(m, scaled({{0.03f, 0.3f}, {0.4f, 0.3f}, {0.42f, 0.33f}, {0.42f, 0.6f}, {0.37f, 0.7f}, {0.36f, 0.86f}, {0.18f, 0.86f},
                           {0.19f, 0.5f}, {0.17f, 0.42f}, {0.08f, 0.39f}},
                          m),
                ironLight, ironDark);  // fixed jaw with the horn
    shadedShape(m, scaled({{0.47f, 0.3f}, {0.63f, 0.3f}, {0.64f, 0.45f}, {0.6f, 0.62f}, {0.53f, 0.72f}, {0.47f, 0.66f}}, m), ironLight,
                ironDark);  // sliding jaw
    for (float x : {0.4f, 0.47f}) {  // the jaw plates and their teeth
        shadedShape(m, box(m, x - 0.02f, 0.24f, x + 0.02f, 0.4f), steelLight, steelDark);
        for (int i = 0; i < 7; ++i) {
            cv::Point a(cvRound((x - 0.02f) * m.cols), cvRound((0.26f + 0.02f * i) * h));
            cv::line(m, a, a + cv::Point(cvRound(0.04f * m.cols), cvRound(0.012f * h)), grey(0.25), std::max(1, c.size / 300), cv::LINE_AA);
        }
    }
    std::vector<cv::Point2f> screw = scaled({{0.6f, 0.52f}, {0.88f, 0.52f}}, m);
    shadedStroke(m, screw, 0.07f * h, steelLight, steelDark);
    for (int i = 0; i < 12; ++i) {  // thread
        float x = 0.64f + 0.018f * i;
        cv::line(m, cv::Point(cvRound(x * m.cols), cvRound(0.49f * h)), cv::Point(cvRound((x + 0.012f) * m.cols), cvRound(0.555f * h)),
                 grey(0.3), std::max(1, c.size / 300), cv::LINE_AA);
    }
    shadedStroke(m, scaled({{0.9f, 0.16f}, {0.9f, 0.86f}}, m), 0.04f * h, steelLight, steelDark);  // the bar
    for (float y : {0.16f, 0.86f}) shadedBall(m, cv::Point2f(0.9f * m.cols, y * h), 0.045f * h, steelLight, steelDark);
    shadedBall(m, cv::Point2f(0.9f * m.cols, 0.52f * h), 0.06f * h, steelLight, steelDark);  // the boss on the screw
    return m;
}

cv::Mat drawTap(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size * 3 / 4);
    cv::Scalar brass = ink(60, 150, 195), dark = ink(20, 40, 60);
    int t = m.rows / 9;
    // wall plate, body, curved spout
    cv::ellipse(m, at(m, 0.12, 0.45), cv::Size(m.cols / 18, m.rows / 5), 0, 0, 360, dark, cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, at(m, 0.12, 0.45), cv::Size(m.cols / 18 - 3, m.rows / 5 - 3), 0, 0, 360, brass, cv::FILLED, cv::LINE_AA);
    std::vector<cv::Point> spout;
    for (int i = 0; i <= 30; ++i) {
        double s = i / 30.0;
        if (s < 0.6) spout.push_back(at(m, 0.14 + s / 0.6 * 0.55, 0.45));
        else {
            double a = (s - 0.6) / 0.4 * kPi / 2;
            spout.push_back(at(m, 0.69 + 0.15 * std::sin(a), 0.45 + 0.2 * (1 - std::cos(a))));
        }
    }
    spout.push_back(at(m, 0.84, 0.8));
    cv::polylines(m, spout, false, dark, t + 6, cv::LINE_AA);
    cv::polylines(m, spout, false, brass, t, cv::LINE_AA);
    cv::polylines(m, spout, false, ink(150, 220, 240), t / 5, cv::LINE_AA);
    cv::rectangle(m, at(m, 0.78, 0.8), at(m, 0.9, 0.86), dark, cv::FILLED, cv::LINE_AA);
    // valve with a cross handle on top
    cv::rectangle(m, at(m, 0.36, 0.22), at(m, 0.46, 0.45), dark, cv::FILLED, cv::LINE_AA);
    cv::rectangle(m, at(m, 0.37, 0.23), at(m, 0.45, 0.44), brass, cv::FILLED, cv::LINE_AA);
    cv::line(m, at(m, 0.24, 0.16), at(m, 0.58, 0.16), dark, t / 2 + 6, cv::LINE_AA);
    cv::line(m, at(m, 0.24, 0.16), at(m, 0.58, 0.16), brass, t / 2, cv::LINE_AA);
    for (double x : {0.24, 0.58}) cv::circle(m, at(m, x, 0.16), t / 2, dark, cv::FILLED, cv::LINE_AA);
    cv::circle(m, at(m, 0.41, 0.16), t / 2, ink(40, 40, 160), cv::FILLED, cv::LINE_AA);
    return m;
}

cv::Mat drawHelmet(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size * 4 / 5, c.size);
    cv::Scalar bronze = ink(50, 110, 160), dark = ink(20, 35, 50);
    // crest of horsehair
    for (int i = 0; i <= 40; ++i) {
        double a = kPi * (0.1 + 0.8 * i / 40.0);
        cv::Point root = at(m, 0.5 - 0.3 * std::cos(a), 0.32 - 0.1 * std::sin(a));
        cv::Point tip = at(m, 0.5 - 0.45 * std::cos(a), 0.28 - 0.27 * std::sin(a));
        cv::line(m, root, tip, i % 2 ? ink(30, 30, 150) : ink(40, 40, 120), std::max(3, c.size / 60), cv::LINE_AA);
    }
    // bowl and cheek guards
    std::vector<cv::Point> shell;
    for (int i = 0; i <= 30; ++i) {
        double a = kPi + kPi * i / 30.0;
        shell.push_back(at(m, 0.5 + 0.34 * std::cos(a), 0.5 + 0.26 * std::sin(a)));
    }
    shell.push_back(at(m, 0.84, 0.78));
    shell.push_back(at(m, 0.64, 0.95));
    shell.push_back(at(m, 0.58, 0.72));
    shell.push_back(at(m, 0.42, 0.72));
    shell.push_back(at(m, 0.36, 0.95));
    shell.push_back(at(m, 0.16, 0.78));
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{shell}, dark, cv::LINE_AA);
    cv::Point centre = at(m, 0.5, 0.6);
    for (auto& p : shell) p = centre + (p - centre) * 0.95;
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{shell}, bronze, cv::LINE_AA);
    // eye slits and nose guard: a T-shaped opening
    cv::ellipse(m, at(m, 0.38, 0.52), cv::Size(m.cols / 10, m.rows / 22), 10, 0, 360, dark, cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, at(m, 0.62, 0.52), cv::Size(m.cols / 10, m.rows / 22), -10, 0, 360, dark, cv::FILLED, cv::LINE_AA);
    cv::rectangle(m, at(m, 0.43, 0.56), at(m, 0.47, 0.9), dark, cv::FILLED, cv::LINE_AA);
    cv::rectangle(m, at(m, 0.53, 0.56), at(m, 0.57, 0.9), dark, cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, at(m, 0.38, 0.36), cv::Size(m.cols / 9, m.rows / 18), -20, 0, 360, ink(120, 190, 230), cv::FILLED, cv::LINE_AA);
    return m;
}

// Velvet hangs in round folds: brightness follows a cosine across the width.
static cv::Mat curtain(int w, int h, cv::Vec3f colour, int folds, bool fringe) {
    cv::Mat m = transparentCanvas(w, h);
    for (int y = 0; y < h; ++y) {
        double s = static_cast<double>(y) / h;
        int right = static_cast<int>(w * (1.0 - 0.35 * s * s));  // gathered towards the bottom
        for (int x = 0; x < right; ++x) {
            double u = static_cast<double>(x) / right;
            double fold = 0.5 + 0.5 * std::cos(u * folds * 2 * kPi + s * 1.5);
            double light = 0.35 + 0.65 * std::pow(fold, 0.7);
            cv::Vec4b& p = m.at<cv::Vec4b>(y, x);
            for (int k = 0; k < 3; ++k) p[k] = static_cast<uchar>(std::min(255.0, colour[k] * light));
            p[3] = 255;
        }
    }
    // valance on top
    cv::rectangle(m, cv::Point(0, 0), cv::Point(w, h / 14), ink(colour[0] * 0.6, colour[1] * 0.6, colour[2] * 0.6), cv::FILLED);
    for (int i = 0; i < 6; ++i)
        cv::ellipse(m, cv::Point(w * (2 * i + 1) / 12, h / 14), cv::Size(w / 12, h / 28), 0, 0, 180,
                    ink(colour[0] * 0.6, colour[1] * 0.6, colour[2] * 0.6), cv::FILLED, cv::LINE_AA);
    if (fringe)
        for (int x = 0; x < w; x += 6) cv::line(m, cv::Point(x, h / 14), cv::Point(x, h / 14 + h / 40), ink(40, 170, 210), 2);
    return m;
}

cv::Mat drawCurtain(const DrawContext& c) { return curtain(c.size / 2, c.size, cv::Vec3f(40, 40, 190), 5, false); }
cv::Mat drawDrape(const DrawContext& c) { return curtain(c.size / 2, c.size, cv::Vec3f(60, 130, 200), 4, true); }

cv::Mat drawCrab(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size, c.size * 3 / 4);
    cv::Scalar shell = ink(40, 70, 190), dark = ink(20, 25, 60);
    int w = std::max(3, c.size / 50);
    // four legs each side, bent at the knee
    for (int s : {-1, 1})
        for (int i = 0; i < 4; ++i) {
            cv::Point hip = at(m, 0.5 + s * 0.16, 0.55 + 0.06 * i);
            cv::Point knee = at(m, 0.5 + s * (0.34 + 0.02 * i), 0.45 + 0.1 * i);
            cv::Point toe = at(m, 0.5 + s * (0.44 + 0.02 * i), 0.7 + 0.08 * i);
            for (int pass = 0; pass < 2; ++pass) {
                cv::Scalar col = pass ? shell : dark;
                int width = pass ? w : w + 4;
                cv::line(m, hip, knee, col, width, cv::LINE_AA);
                cv::line(m, knee, toe, col, width, cv::LINE_AA);
            }
        }
    // arms and pincers
    for (int s : {-1, 1}) {
        cv::Point shoulder = at(m, 0.5 + s * 0.18, 0.45), elbow = at(m, 0.5 + s * 0.3, 0.25), claw = at(m, 0.5 + s * 0.26, 0.13);
        cv::line(m, shoulder, elbow, dark, w * 2 + 4, cv::LINE_AA);
        cv::line(m, shoulder, elbow, shell, w * 2, cv::LINE_AA);
        cv::ellipse(m, claw, cv::Size(m.cols / 12, m.rows / 12), s * 30, 0, 360, dark, cv::FILLED, cv::LINE_AA);
        cv::ellipse(m, claw, cv::Size(m.cols / 12 - 3, m.rows / 12 - 3), s * 30, 0, 360, shell, cv::FILLED, cv::LINE_AA);
        cv::line(m, claw, claw + cv::Point(-s * m.cols / 20, -m.rows / 12), cv::Scalar(0, 0, 0, 0), w + 2, cv::LINE_AA);
    }
    // carapace, eyes on stalks
    cv::ellipse(m, at(m, 0.5, 0.55), cv::Size(m.cols / 5, m.rows / 6), 0, 0, 360, dark, cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, at(m, 0.5, 0.55), cv::Size(m.cols / 5 - 4, m.rows / 6 - 4), 0, 0, 360, shell, cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, at(m, 0.47, 0.5), cv::Size(m.cols / 12, m.rows / 18), -10, 0, 360, ink(110, 140, 230), cv::FILLED, cv::LINE_AA);
    for (int s : {-1, 1}) {
        cv::line(m, at(m, 0.5 + s * 0.05, 0.42), at(m, 0.5 + s * 0.07, 0.34), dark, w, cv::LINE_AA);
        cv::circle(m, at(m, 0.5 + s * 0.07, 0.34), w + 2, ink(10, 10, 10), cv::FILLED, cv::LINE_AA);
    }
    return m;
}

cv::Mat drawNail(const DrawContext& c) {
    cv::Mat m = transparentCanvas(c.size / 4, c.size);
    std::vector<cv::Point> shaft = {at(m, 0.4, 0.08), at(m, 0.6, 0.08), at(m, 0.6, 0.85), at(m, 0.5, 0.99), at(m, 0.4, 0.85)};
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{shaft}, ink(40, 40, 45), cv::LINE_AA);
    for (auto& p : shaft) p.x = m.cols / 2 + (p.x - m.cols / 2) * 7 / 10;
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{shaft}, ink(150, 150, 155), cv::LINE_AA);
    cv::ellipse(m, at(m, 0.5, 0.06), cv::Size(m.cols * 2 / 5, m.rows / 30), 0, 0, 360, ink(40, 40, 45), cv::FILLED, cv::LINE_AA);
    cv::ellipse(m, at(m, 0.5, 0.055), cv::Size(m.cols * 2 / 5 - 3, m.rows / 30 - 3), 0, 0, 360, ink(180, 180, 185), cv::FILLED, cv::LINE_AA);
    return m;
}

// A broken temple front: the column (capital, a stretched shaft, base)
// repeated on a shared step, two snapped off, a beam over the first three.
cv::Mat composeColonnade(const DrawContext& c) {
    if (c.base.empty()) return c.base;
    int capital = c.base.rows * 45 / 100, foot = c.base.rows * 18 / 100;
    cv::Mat shaft;
    cv::resize(c.base(cv::Rect(0, capital, c.base.cols, c.base.rows - capital - foot)), shaft,
               cv::Size(c.base.cols, (c.base.rows - capital - foot) * 5));
    cv::Mat tall;
    cv::vconcat(std::vector<cv::Mat>{c.base.rowRange(0, capital), shaft, c.base.rowRange(c.base.rows - foot, c.base.rows)}, tall);
    cv::Mat column;
    double scale = (c.size * 0.8) / tall.rows;
    cv::resize(tall, column, cv::Size(), scale * 0.8, scale, cv::INTER_AREA);
    int n = 5, gap = column.cols * 2 / 3, beam = column.rows / 10, step = column.rows / 12;
    cv::Mat m = transparentCanvas(n * column.cols + (n - 1) * gap, beam + column.rows + step);
    for (int i = 0; i < n; ++i) {
        cv::Mat part = column;
        if (i == 3 || i == 4) part = column.rowRange(column.rows * (i == 3 ? 40 : 60) / 100, column.rows);
        paste(m, part, cv::Point(i * (column.cols + gap), beam + column.rows - part.rows));
    }
    int beamEnd = 3 * column.cols + 2 * gap;
    std::vector<cv::Point> lintel = {cv::Point(0, 0), cv::Point(beamEnd, 0), cv::Point(beamEnd - gap / 3, beam), cv::Point(0, beam)};
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{lintel}, ink(40, 50, 60), cv::LINE_AA);
    for (auto& p : lintel) p += cv::Point(p.x < beamEnd / 2 ? 3 : -3, p.y == 0 ? 3 : -3);
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{lintel}, ink(175, 190, 200), cv::LINE_AA);
    int top = beam + column.rows;
    cv::rectangle(m, cv::Point(0, top), cv::Point(m.cols - 1, m.rows - 1), ink(40, 50, 60), cv::FILLED);
    cv::rectangle(m, cv::Point(3, top + 3), cv::Point(m.cols - 4, m.rows - 4), ink(175, 190, 200), cv::FILLED);
    return m;
}

// Four flourished corners on 600-unit pages, laid two by two.
cv::Mat composeFrame(const DrawContext& c) {
    static const char* const corners[4] = {
        "decorations/flourish_three_corner_01.svg", "decorations/flourish_three_upper_right_corner_01.svg",
        "decorations/flourish_three_lower_left_corner_01.svg", "decorations/flourish_three_lower_right_corner_01.svg"};
    int half = c.size / 2;
    cv::Mat m = transparentCanvas(half * 2, half * 2);
    for (int i = 0; i < 4; ++i) {
        SvgCut cut;
        cut.path = corners[i];
        cv::Mat part = renderSvg(c.clipart, cut, half);
        if (part.empty()) continue;
        cv::resize(part, part, cv::Size(half, half));
        part.forEach<cv::Vec4b>([](cv::Vec4b& p, const int*) {  // the pale grey scrolls printed in ink
            for (int k = 0; k < 3; ++k) p[k] = static_cast<uchar>(p[k] * 0.3);
        });
        paste(m, part, cv::Point((i % 2) * half, (i / 2) * half));
    }
    return m;
}

// Pictures the show stretches over the whole 16:9 screen (the bird and the
// type that shatter): the drawing centred on a 16:9 sheet, so it keeps its
// shape there.
cv::Mat onScreenSheet(const DrawContext& c) {
    if (c.base.empty()) return c.base;
    int height = std::max(c.base.rows, c.base.cols * 9 / 16);
    cv::Mat m = transparentCanvas(height * 16 / 9, height);
    paste(m, c.base, cv::Point((m.cols - c.base.cols) / 2, (m.rows - c.base.rows) / 2));
    return m;
}

// The television's screen cut away: the scenes of 49 to 73 s are seen through
// it. The screen is the region of smoothly changing grey around the middle of
// the upper part, bounded by its black outline.
cv::Mat openScreen(const DrawContext& c) {
    cv::Mat m = c.base.clone();
    if (m.empty()) return m;
    cv::Mat bgr, mask = cv::Mat::zeros(m.rows + 2, m.cols + 2, CV_8UC1);
    cv::cvtColor(m, bgr, cv::COLOR_BGRA2BGR);
    cv::floodFill(bgr, mask, at(m, 0.5, 0.42), cv::Scalar(), nullptr, cv::Scalar(6, 6, 6), cv::Scalar(6, 6, 6),
                  4 | cv::FLOODFILL_MASK_ONLY | (255 << 8));
    cv::Mat screen = mask(cv::Rect(1, 1, m.cols, m.rows));
    m.setTo(cv::Scalar(0, 0, 0, 0), screen);
    return m;
}

// The single wing of the clip art, raised a little, beside its mirror image.
static cv::Mat wingPair(const std::string& clipart, int wingWidth) {
    SvgCut cut;
    cut.path = "animals/birds/wing_mitchell_johnson_si_.svg";
    cut.box[0] = 177.0f, cut.box[1] = 127.5f, cut.box[2] = 383.1f, cut.box[3] = 157.9f;
    cv::Mat wing = renderSvg(clipart, cut, wingWidth);
    if (wing.empty()) return wing;
    int side = wing.cols;
    cv::Mat square = transparentCanvas(side, side);
    paste(square, wing, cv::Point(0, (side - wing.rows) / 2));
    cv::Mat raised;
    cv::warpAffine(square, raised, cv::getRotationMatrix2D(cv::Point2f(0, side / 2.0f), 22, 1.0), square.size(),
                   cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(0, 0, 0, 0));
    cv::Mat mirrored;
    cv::flip(raised, mirrored, 1);
    cv::Mat pair;
    cv::hconcat(mirrored, raised, pair);
    std::vector<cv::Mat> ch;
    cv::split(pair, ch);
    return pair(cv::boundingRect(ch[3] > 0)).clone();
}

cv::Mat composeWings(const DrawContext& c) { return wingPair(c.clipart, c.size / 2); }

// No angel in the clip art: the fairy figure with a pair of feathered wings
// spread behind her shoulders.
cv::Mat composeAngel(const DrawContext& c) {
    if (c.base.empty()) return c.base;
    cv::Mat wings = wingPair(c.clipart, c.base.cols * 5 / 4);
    if (wings.empty()) return c.base;
    int shoulder = c.base.rows / 5;
    int top = std::max(0, wings.rows * 4 / 5 - shoulder);
    cv::Mat m = transparentCanvas(std::max(wings.cols, c.base.cols), c.base.rows + top);
    paste(m, wings, cv::Point((m.cols - wings.cols) / 2, top + shoulder - wings.rows * 4 / 5));
    // the line drawing is hollow: back it with paper so the wings stay behind her
    std::vector<cv::Mat> ch;
    cv::split(c.base, ch);
    std::vector<std::vector<cv::Point>> outline;
    cv::findContours(ch[3] > 40, outline, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);
    cv::Mat backing = transparentCanvas(c.base.cols, c.base.rows);
    cv::drawContours(backing, outline, -1, ink(235, 245, 250), cv::FILLED);
    paste(backing, c.base, cv::Point(0, 0));
    paste(m, backing, cv::Point((m.cols - c.base.cols) / 2, top));
    return m;
}
