// The loading screen. The show draws it on a square quad through a square
// field of view stretched to the window: in a 16:9 window the quad covers
// the middle 77 % of the width and runs from 23 % of the height down to the
// bottom edge, and the window's middle falls 35 % down the picture. So the
// picture is laid out on a 16:9 sheet the shape the quad takes on screen,
// centred on that point, and squeezed to a square: round on the sheet is
// round on screen. It is added onto black, so the card sits inside a margin
// of pure black and the quad's edge never shows.
#include "draw.h"
#include "look.h"
#include "palette.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

static const float kScreenMiddle = 0.35f;  // of the picture's height
static const float kPi = 3.14159265f;

// Lines are drawn in ink (1) on a mask the size of the sheet; the card is
// printed from it at the end.
struct Plate {
    cv::Mat ink;  // CV_32F, 0..1
    float unit;   // a thousandth of the sheet's height
};

static void rule(Plate& p, cv::Rect2f r, float weight) {
    cv::rectangle(p.ink, r.tl(), r.br(), cv::Scalar(1), std::max(1, cvRound(weight * p.unit)), cv::LINE_AA);
}

// Lettering as the engraver cuts it: a heavy letter with a fine line of
// paper left inside, so it reads as cut into the plate.
static void letters(Plate& p, const char* text, cv::Point2f centre, float height, float spacing) {
    int heavy = std::max(2, cvRound(height / 9.0f)), fine = std::max(1, heavy / 3), unused = 0;
    double scale = height / cv::getTextSize("T", cv::FONT_HERSHEY_TRIPLEX, 1.0, heavy, &unused).height;
    float width = 0;
    std::vector<float> advance;
    for (const char* c = text; *c; ++c) {
        int base = 0;
        cv::Size s = cv::getTextSize(std::string(1, *c), cv::FONT_HERSHEY_TRIPLEX, scale, heavy, &base);
        advance.push_back(s.width + spacing * height);
        width += advance.back();
    }
    width -= spacing * height;
    float x = centre.x - width / 2;
    cv::Mat inside(p.ink.size(), CV_32F, cv::Scalar(0));
    for (size_t i = 0; text[i]; ++i) {
        cv::Point at(cvRound(x), cvRound(centre.y + height / 2));
        cv::putText(p.ink, std::string(1, text[i]), at, cv::FONT_HERSHEY_TRIPLEX, scale, cv::Scalar(1), heavy, cv::LINE_AA);
        cv::putText(inside, std::string(1, text[i]), at + cv::Point(-fine, -fine), cv::FONT_HERSHEY_TRIPLEX, scale, cv::Scalar(1), fine, cv::LINE_AA);
        x += advance[i];
    }
    p.ink -= 0.8 * inside;
}

// The border: a heavy rule and a fine one with a band of hatching between,
// a rosette at each corner.
static void border(Plate& p, cv::Rect2f card) {
    float u = p.unit;
    cv::Rect2f outer(card.x + 18 * u, card.y + 18 * u, card.width - 36 * u, card.height - 36 * u);
    cv::Rect2f inner(outer.x + 22 * u, outer.y + 22 * u, outer.width - 44 * u, outer.height - 44 * u);
    rule(p, outer, 5);
    rule(p, inner, 1.5f);
    rule(p, cv::Rect2f(inner.x + 7 * u, inner.y + 7 * u, inner.width - 14 * u, inner.height - 14 * u), 1);
    cv::Mat band(p.ink.size(), CV_8U, cv::Scalar(0));
    cv::rectangle(band, outer, cv::Scalar(255), cv::FILLED);
    cv::rectangle(band, inner, cv::Scalar(0), cv::FILLED);
    cv::Mat hatch(p.ink.size(), CV_32F, cv::Scalar(0));
    for (float d = -static_cast<float>(p.ink.rows); d < p.ink.cols; d += 7 * u)
        cv::line(hatch, cv::Point2f(d, 0), cv::Point2f(d + p.ink.rows, static_cast<float>(p.ink.rows)), cv::Scalar(0.8), std::max(1, cvRound(1.2f * u)),
                 cv::LINE_AA);
    hatch.copyTo(p.ink, band);
    for (cv::Point2f corner : {outer.tl(), cv::Point2f(outer.br().x, outer.y), outer.br(), cv::Point2f(outer.x, outer.br().y)}) {
        cv::Point2f c = corner + cv::Point2f(corner.x < outer.x + 1 ? 11 * u : -11 * u, corner.y < outer.y + 1 ? 11 * u : -11 * u);
        cv::circle(p.ink, c, cvRound(17 * u), cv::Scalar(0), cv::FILLED, cv::LINE_AA);
        cv::circle(p.ink, c, cvRound(17 * u), cv::Scalar(1), std::max(1, cvRound(3 * u)), cv::LINE_AA);
        for (int k = 0; k < 8; ++k) {
            float a = kPi * k / 4;
            cv::ellipse(p.ink, c + cv::Point2f(std::cos(a), std::sin(a)) * 8 * u, cv::Size(cvRound(6 * u), cvRound(2.5f * u)), a * 180 / kPi, 0, 360,
                        cv::Scalar(1), cv::FILLED, cv::LINE_AA);
        }
    }
}

// The show's world in an oval: the moon over a sea with a fish leaping, a
// balloon drifting, the sky engraved in level lines that thin towards the
// horizon.
static void vignette(Plate& p, cv::Point2f c, cv::Size2f half) {
    float u = p.unit;
    cv::Mat plate(p.ink.size(), CV_32F, cv::Scalar(0)), oval(p.ink.size(), CV_8U, cv::Scalar(0));
    cv::ellipse(oval, c, half, 0, 0, 360, cv::Scalar(255), cv::FILLED, cv::LINE_AA);
    float horizon = c.y + 0.25f * half.height;
    for (float y = c.y - half.height; y < horizon; y += 6 * u) {  // the sky, heavier above
        float weight = 0.4f + 1.6f * (horizon - y) / (2 * half.height);
        cv::line(plate, cv::Point2f(c.x - half.width, y), cv::Point2f(c.x + half.width, y), cv::Scalar(0.9), std::max(1, cvRound(weight * u)), cv::LINE_AA);
    }
    cv::Point2f moon = c + cv::Point2f(-0.45f * half.width, -0.35f * half.height);  // the full moon, paper cut from the lines
    cv::circle(plate, moon, cvRound(32 * u), cv::Scalar(0), cv::FILLED, cv::LINE_AA);
    cv::circle(plate, moon, cvRound(32 * u), cv::Scalar(1), std::max(1, cvRound(2.5f * u)), cv::LINE_AA);
    for (cv::Vec3f crater : {cv::Vec3f(-10, -8, 7), cv::Vec3f(11, 5, 6), cv::Vec3f(-3, 14, 4), cv::Vec3f(8, -14, 3)})
        cv::circle(plate, moon + cv::Point2f(crater[0], crater[1]) * u, cvRound(crater[2] * u), cv::Scalar(0.7), std::max(1, cvRound(1.5f * u)),
                   cv::LINE_AA);
    // the balloon: an envelope in gores, ropes, a basket
    cv::Point2f b = c + cv::Point2f(0.42f * half.width, -0.4f * half.height);
    float r = 34 * u;
    cv::ellipse(plate, b, cv::Size2f(r, 1.15f * r), 0, 0, 360, cv::Scalar(0), cv::FILLED, cv::LINE_AA);
    for (int k = -2; k <= 2; ++k)
        cv::ellipse(plate, b + cv::Point2f(0, 0), cv::Size2f(std::abs(k) * r / 2.2f + 1, 1.15f * r), 0, k < 0 ? 90 : -90, k < 0 ? 270 : 90,
                    cv::Scalar(1), std::max(1, cvRound(1.5f * u)), cv::LINE_AA);
    cv::ellipse(plate, b, cv::Size2f(r, 1.15f * r), 0, 0, 360, cv::Scalar(1), std::max(1, cvRound(3 * u)), cv::LINE_AA);
    cv::Point2f basket = b + cv::Point2f(0, 1.15f * r + 22 * u);
    for (int side : {-1, 1})
        cv::line(plate, b + cv::Point2f(side * 0.55f * r, 0.95f * r), basket + cv::Point2f(side * 8 * u, -6 * u), cv::Scalar(1),
                 std::max(1, cvRound(1.5f * u)), cv::LINE_AA);
    cv::rectangle(plate, basket + cv::Point2f(-9 * u, -6 * u), basket + cv::Point2f(9 * u, 6 * u), cv::Scalar(1), cv::FILLED, cv::LINE_AA);
    // the sea: wave crests in rows, closer together towards the horizon
    cv::RNG rng(7);
    for (int row = 0; row < 14; ++row) {
        float y = horizon + half.height * 0.75f * std::pow(row / 13.0f, 1.4f);
        float len = (10 + 3.5f * row) * u;
        for (float x = c.x - half.width + static_cast<float>(rng.uniform(0.0, 1.0)) * len; x < c.x + half.width; x += 1.6f * len) {
            std::vector<cv::Point> crest;
            for (int i = 0; i <= 10; ++i) {
                float t = i / 10.0f;
                crest.push_back(cv::Point2f(x + t * len, y - std::sin(t * kPi) * 0.25f * len));
            }
            cv::polylines(plate, crest, false, cv::Scalar(1), std::max(1, cvRound((0.8f + 0.15f * row) * u)), cv::LINE_AA);
        }
    }
    cv::line(plate, cv::Point2f(c.x - half.width, horizon), cv::Point2f(c.x + half.width, horizon), cv::Scalar(1), std::max(1, cvRound(2 * u)),
             cv::LINE_AA);
    // a fish leaping from the sea, an arc of body and a forked tail
    cv::Point2f f = c + cv::Point2f(0.05f * half.width, 0.42f * half.height);
    cv::ellipse(plate, f, cv::Size2f(40 * u, 13 * u), -30, 0, 360, cv::Scalar(0), cv::FILLED, cv::LINE_AA);
    cv::ellipse(plate, f, cv::Size2f(40 * u, 13 * u), -30, 0, 360, cv::Scalar(1), std::max(1, cvRound(2.5f * u)), cv::LINE_AA);
    for (int k = -1; k <= 1; k += 2)
        cv::line(plate, f + cv::Point2f(-33 * u, 19 * u), f + cv::Point2f(-50 * u + 6 * k * u, 34 * u - 8 * k * u), cv::Scalar(1),
                 std::max(1, cvRound(3 * u)), cv::LINE_AA);
    cv::circle(plate, f + cv::Point2f(24 * u, -12 * u), cvRound(3 * u), cv::Scalar(1), cv::FILLED, cv::LINE_AA);
    plate.copyTo(p.ink, oval);
    cv::ellipse(p.ink, c, half, 0, 0, 360, cv::Scalar(1), std::max(1, cvRound(4 * u)), cv::LINE_AA);
    cv::ellipse(p.ink, c, half + cv::Size2f(9 * u, 9 * u), 0, 0, 360, cv::Scalar(1), std::max(1, cvRound(1.5f * u)), cv::LINE_AA);
}

// A title card: a sheet of paper inside a black margin, an engraved border,
// the title over a blank band (the window's middle: the start-time benchmark
// reads it as bright) and the vignette below.
cv::Mat composeLoader(const DrawContext& c) {
    const int h = c.size, w = c.size * 16 / 9;
    const cv::Vec3f paper = paperColour(), inkTone = inkColour();
    Plate p{cv::Mat(h, w, CV_32F, cv::Scalar(0)), h / 1000.0f};
    float u = p.unit;
    // In the window the card runs from 29 % to 80 % of the height, clear of
    // the quad's edges and of the window's foot, with the window's middle
    // (35 % down the picture) in the blank band under the title.
    cv::Rect2f card(0.05f * w, 0.076f * h, 0.9f * w, 0.664f * h);
    border(p, card);
    letters(p, "TORVANEL", cv::Point2f(0.5f * w, 0.18f * h), 80 * u, 0.12f);
    letters(p, "QUILLARET", cv::Point2f(0.5f * w, 0.275f * h), 40 * u, 0.3f);
    for (int side : {-1, 1}) {  // a flourish either side of the second line, clear of the middle
        cv::Point2f a(0.5f * w + side * 0.17f * w, 0.275f * h);
        cv::line(p.ink, a, a + cv::Point2f(side * 0.1f * w, 0), cv::Scalar(1), std::max(1, cvRound(2 * u)), cv::LINE_AA);
        cv::circle(p.ink, a + cv::Point2f(side * 0.1f * w, 0), cvRound(5 * u), cv::Scalar(1), cv::FILLED, cv::LINE_AA);
    }
    vignette(p, cv::Point2f(0.5f * w, 0.55f * h), cv::Size2f(0.3f * w, 0.14f * h));

    cv::Mat sheet(h, w, CV_32FC3, cv::Scalar(0, 0, 0));
    cv::Mat grain = smoothNoise(sheet.size(), 2, c.seed), mottle = smoothNoise(sheet.size(), 40, c.seed + 1);
    cv::Mat wobble = smoothNoise(sheet.size(), 60, c.seed + 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // the card's edge, cut a little unevenly; outside it the black the picture is added onto
            float inset = std::min({x - card.x, card.br().x - x, y - card.y, card.br().y - y}) + 3 * u * (wobble.at<float>(y, x) - 0.5f);
            float cover = std::clamp(inset + 0.5f, 0.0f, 1.0f);
            if (cover <= 0.0f) continue;
            float ink = std::clamp(p.ink.at<float>(y, x), 0.0f, 1.0f);
            cv::Vec3f tone = paper * (0.93f + 0.05f * grain.at<float>(y, x) + 0.04f * mottle.at<float>(y, x));
            sheet.at<cv::Vec3f>(y, x) = (tone * (1.0f - ink) + inkTone * ink) * cover;
        }
    cv::Mat square, out;
    cv::resize(sheet, square, cv::Size(c.size, c.size), 0, 0, cv::INTER_AREA);
    square.convertTo(out, CV_8UC3, 255.0);
    return out;
}
