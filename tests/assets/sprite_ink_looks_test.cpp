// Black ink on white paper through every print look the scenes use, in both
// acts' paper (Mode), sunk below the line (OtherFlow) and as a figure's
// render: an ink edge must not split into colours, a look may tint only as
// it says, and no cut edge may show the key green.
#include <gtest/gtest.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/assets/sprite_gl_canvas.h"
#include "tests/support/gl_test_context.h"

namespace {

// What a look may do to black ink and white paper.
enum class Tint { None, Sepia, Gold, Red, Blue, Teal, Green, Card };

struct InkLook {
    float objectType;
    Tint ink, paper;
};

// Every ObjectType the scenes write, with the inks and stocks it names.
const InkLook LOOKS[] = {
    {0, Tint::Sepia, Tint::None},       {1, Tint::None, Tint::None},        {1.5f, Tint::None, Tint::None},
    {1.77f, Tint::Sepia, Tint::None},   {1.991f, Tint::Blue, Tint::Blue},   {2, Tint::Sepia, Tint::None},
    {2.13f, Tint::Gold, Tint::Gold},    {2.715f, Tint::Blue, Tint::Blue},   {3, Tint::None, Tint::None},
    {3.7f, Tint::Blue, Tint::Blue},     {3.86f, Tint::Red, Tint::Red},      {4, Tint::Gold, Tint::Gold},
    {5, Tint::Sepia, Tint::None},       {5.59f, Tint::Red, Tint::None},     {5.82f, Tint::None, Tint::None},
    {8, Tint::None, Tint::None},        {8.74f, Tint::Red, Tint::Sepia},    {9, Tint::Green, Tint::Green},
    {10, Tint::None, Tint::None},       {11, Tint::Sepia, Tint::Sepia},     {12, Tint::Red, Tint::Red},
    {12.236f, Tint::Teal, Tint::Teal},  {13, Tint::None, Tint::Sepia},       {14, Tint::Blue, Tint::Blue},
    {20, Tint::None, Tint::None},       {-1, Tint::Card, Tint::Card},       {-10, Tint::None, Tint::None},
};

const char* tintName(Tint t) {
    static const char* names[] = {"none", "sepia", "gold", "red", "blue", "teal", "green", "card"};
    return names[static_cast<int>(t)];
}

constexpr int SIDE = 240;  // the test picture, in texels

// White paper on the key, black ink bars of three widths and a disc, the
// disc touching the cut edge so ink meets the key too, and a block of ink
// that leaves the paper a thin rim along the cut, as scissors leave it.
TexturePicture inkPicture() {
    cv::Mat rgb(SIDE, SIDE, CV_8UC3, cv::Scalar(0, 255, 0));
    cv::rectangle(rgb, cv::Rect(20, 20, SIDE - 40, SIDE - 40), cv::Scalar(255, 255, 255), cv::FILLED);
    const cv::Scalar ink(16, 16, 16);
    cv::rectangle(rgb, cv::Rect(50, 30, 8, 110), ink, cv::FILLED);
    cv::rectangle(rgb, cv::Rect(80, 30, 16, 110), ink, cv::FILLED);
    cv::rectangle(rgb, cv::Rect(120, 30, 32, 110), ink, cv::FILLED);
    cv::circle(rgb, cv::Point(180, 180), 45, ink, cv::FILLED);  // runs over the cut at the corner
    cv::rectangle(rgb, cv::Rect(23, 150, 60, 66), ink, cv::FILLED);     // a rim of three texels left and below
    cv::rectangle(rgb, cv::Rect(0, 0, 20, SIDE), cv::Scalar(0, 255, 0), cv::FILLED);
    cv::rectangle(rgb, cv::Rect(SIDE - 20, 0, 20, SIDE), cv::Scalar(0, 255, 0), cv::FILLED);
    cv::rectangle(rgb, cv::Rect(0, SIDE - 20, SIDE, 20), cv::Scalar(0, 255, 0), cv::FILLED);
    return TexturePicture{rgb, ""};
}

struct Rgb {
    double r, g, b;
};

Rgb pixel(const std::vector<uint8_t>& rgba, int width, int x, int y) {
    const uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
    return {double(p[0]), double(p[1]), double(p[2])};
}

double distance(Rgb a, Rgb b) {
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b));
}

// How far c lies off the straight line through ink i and paper p, in levels:
// a print mixes the two by one amount per pixel, a colour split does not.
double offTheLine(Rgb c, Rgb i, Rgb p) {
    Rgb d = {p.r - i.r, p.g - i.g, p.b - i.b};
    double len2 = d.r * d.r + d.g * d.g + d.b * d.b;
    double s = ((c.r - i.r) * d.r + (c.g - i.g) * d.g + (c.b - i.b) * d.b) / len2;
    Rgb on = {i.r + s * d.r, i.g + s * d.g, i.b + s * d.b};
    return std::max({std::fabs(c.r - on.r), std::fabs(c.g - on.g), std::fabs(c.b - on.b)});
}

// The mean colour of a patch.
Rgb patchMean(const std::vector<uint8_t>& rgba, int width, cv::Rect r) {
    Rgb sum = {0, 0, 0};
    for (int y = r.y; y < r.y + r.height; y++)
        for (int x = r.x; x < r.x + r.width; x++) {
            Rgb c = pixel(rgba, width, x, y);
            sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
        }
    double n = double(r.area());
    return {sum.r / n, sum.g / n, sum.b / n};
}

// Hue in degrees and chroma in levels.
void hueOf(Rgb c, double& hue, double& chroma) {
    double mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b});
    chroma = mx - mn;
    if (chroma < 1e-6) {
        hue = 0;
        return;
    }
    if (mx == c.r)
        hue = 60 * std::fmod((c.g - c.b) / chroma + 6, 6.0);
    else if (mx == c.g)
        hue = 60 * ((c.b - c.r) / chroma + 2);
    else
        hue = 60 * ((c.r - c.g) / chroma + 4);
}

// Whether a colour is one the tint allows. The paper stock itself is cream,
// so "none" lets a faint warm cast through and nothing else.
bool allowed(Tint tint, Rgb c, std::string& why) {
    double hue, chroma;
    hueOf(c, hue, chroma);
    char text[96];
    snprintf(text, sizeof text, "(%.0f, %.0f, %.0f) hue %.0f chroma %.0f", c.r, c.g, c.b, hue, chroma);
    why = text;
    bool warm = hue >= 10 && hue <= 60;
    switch (tint) {
        case Tint::None: return chroma < 30 || (warm && chroma < 60);
        case Tint::Sepia: return chroma < 30 || warm;
        case Tint::Gold: return hue >= 25 && hue <= 60;
        case Tint::Red: return chroma >= 30 && (hue <= 25 || hue >= 340);
        case Tint::Blue: return chroma >= 12 && hue >= 185 && hue <= 240;
        case Tint::Teal: return chroma >= 20 && hue >= 145 && hue < 200;
        case Tint::Green: return chroma >= 20 && hue >= 75 && hue < 145;
        case Tint::Card: return true;
    }
    return false;
}

class InkLookTest : public GLTest {
protected:
    TextureRegistry registry;
    RenderTarget empty;  // nothing behind the back clouds

    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(loadSpriteRegistry(registry));
        TexturePicture picture = inkPicture();
        testing::internal::CaptureStdout();
        registry.addDecoded("inkcard.png", "", picture);
        for (const char* name : {"kourtina.png", "kourtina2.png", "saw.png", "hammer.png", "moona.jpg", "golg.jpg"})
            registry.add(std::string("Resources//torvanel//") + name, "");
        testing::internal::GetCapturedStdout();
        ASSERT_NE(registry.find("inkcard"), nullptr);
        registry.sprite.ttime = registry.sprite.ittime = 81.3f;
        empty = clearedMeshTarget();
        empty.resolve(1);
    }
    void TearDown() override {
        registry.sprite.clipProgram.use();
        registry.sprite.clipProgram.setFloat("OtherFlow", 0);
        ShaderProgram::unuse();
    }

    void setLook(float objectType, int mode, float otherFlow) {
        registry.sprite.ObjectType = objectType;
        registry.sprite.Mode = mode;
        registry.sprite.clipProgram.use();
        registry.sprite.clipProgram.setFloat("OtherFlow", otherFlow);
        registry.sprite.clipProgram.setTexture(13, "TextureSeeThrough", empty.colourTextures[0]);
    }

    // A picture drawn on the canvas over a grey backing, scaled about the
    // middle; output 0 (the composed colour) and output 2 (coverage in alpha).
    struct Drawn {
        std::vector<uint8_t> colour, mask;
        int width, height;
    };
    Drawn drawCard(SpriteCanvas& canvas, const char* key, float scale) {
        canvas.target.bind(3);
        glViewport(0, 0, canvas.target.width, canvas.target.height);
        glClearColor(0.42f, 0.4f, 0.38f, 0);  // alpha 0: the mask's alpha is the cut-out's alone
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor4f(1, 1, 1, 1);
        glScalef(scale, scale, 1);
        registry.find(key)->draw();
        return {canvas.read(0), canvas.read(2), canvas.target.width, canvas.target.height};
    }
};

// Canvas position of picture texel (x, y) for the ink card drawn at scale
// 0.9 on a square canvas: the picture spans 0.9 of the canvas' half-height
// each side of the middle, row 0 at the top.
cv::Point canvasAt(int x, int y, int size) {
    double half = 0.9 * size / 2;
    return cv::Point(int(std::lround(size / 2 - half + (x + 0.5) * 2 * half / SIDE)),
                     int(std::lround(size / 2 - half + (y + 0.5) * 2 * half / SIDE)));
}

}  // namespace

TEST_F(InkLookTest, InkEdgesKeepTheirColoursTogetherAndTintOnlyAsNamed) {
    const int size = 320;
    SpriteCanvas canvas(size, size, 1.0f);
    for (const InkLook& look : LOOKS)
        for (int mode : {1, 2})
            for (float flow : {0.0f, -0.3f}) {
                setLook(look.objectType, mode, flow);
                Drawn d = drawCard(canvas, "inkcard", 0.9f);
                SCOPED_TRACE(testing::Message() << "ObjectType " << look.objectType << " Mode " << mode
                                                << " OtherFlow " << flow);
                // Ink and paper: the widest bar and the paper beside it.
                cv::Point inkAt = canvasAt(136, 90, size), paperAt = canvasAt(104, 90, size);
                Rgb ink = patchMean(d.colour, size, cv::Rect(inkAt.x - 4, inkAt.y - 4, 8, 8));
                Rgb paper = patchMean(d.colour, size, cv::Rect(paperAt.x - 4, paperAt.y - 4, 8, 8));
                std::string why;
                EXPECT_TRUE(allowed(look.ink, ink, why)) << "ink not " << tintName(look.ink) << ": " << why;
                EXPECT_TRUE(allowed(look.paper, paper, why)) << "paper not " << tintName(look.paper) << ": " << why;
                ASSERT_GT(distance(ink, paper), 60.0) << "ink and paper print alike";

                // Every pixel across each bar's two edges, along a few rows.
                double worst = 0;
                for (int row : {60, 90, 120})
                    for (int edge : {50, 58, 80, 96, 120, 152}) {
                        cv::Point at = canvasAt(edge, row, size);
                        for (int x = at.x - 3; x <= at.x + 3; x++)
                            worst = std::max(worst, offTheLine(pixel(d.colour, size, x, at.y), ink, paper));
                    }
                // The sheet's grain moves a pixel up to about 20 levels off the
                // line; plates printed out of register move it 30 and more.
                EXPECT_LT(worst, 24.0) << "an ink edge splits into colours";
            }
}

// Near where a cut-out's coverage crosses one half (within 4 pixels: a
// colour plate printed off register reaches a few texels in), no pixel may
// be nearer the key green than to every colour just outside that band while
// leaning towards it: green above red and blue by more than any of them has.
// `paper` is the cut-out's own paper, which a thin rim along the cut shows
// with nothing of it nearby outside the band.
static int keyedEdgePixels(const std::vector<uint8_t>& colour, const std::vector<uint8_t>& mask, int width, int height,
                           Rgb paper, std::string& first) {
    const int band = 4, look = band + 3;
    std::vector<uint8_t> in(size_t(width) * height), edge(in.size());
    // Blending squares the alpha it writes over the clear: a quarter is half covered.
    for (size_t i = 0; i < in.size(); i++) in[i] = mask[i * 4 + 3] >= 64;
    for (int y = band; y < height - band; y++)
        for (int x = band; x < width - band; x++) {
            int inside = 0;
            for (int dy = -band; dy <= band; dy++)
                for (int dx = -band; dx <= band; dx++) inside += in[size_t(y + dy) * width + x + dx];
            edge[size_t(y) * width + x] = inside > 0 && inside < (2 * band + 1) * (2 * band + 1);
        }
    const Rgb key = {0, 255, 0};
    int count = 0;
    for (int y = look; y < height - look; y++)
        for (int x = look; x < width - look; x++) {
            if (!edge[size_t(y) * width + x]) continue;
            Rgb c = pixel(colour, width, x, y);
            double toKey = distance(c, key), toNeighbour = distance(c, paper);
            double greenest = paper.g - std::max(paper.r, paper.b);
            for (int dy = -look; dy <= look; dy++)
                for (int dx = -look; dx <= look; dx++)
                    if (!edge[size_t(y + dy) * width + x + dx]) {
                        Rgb n = pixel(colour, width, x + dx, y + dy);
                        toNeighbour = std::min(toNeighbour, distance(c, n));
                        greenest = std::max(greenest, n.g - std::max(n.r, n.b));
                    }
            bool keyed = toKey < toNeighbour && c.g - std::max(c.r, c.b) > greenest + 24;
            if (keyed && count++ == 0) {
                char text[80];
                snprintf(text, sizeof text, "(%d, %d) is (%.0f, %.0f, %.0f)", x, y, c.r, c.g, c.b);
                first = text;
            }
        }
    return count;
}

TEST_F(InkLookTest, NoCutEdgeShowsTheKey) {
    // The ink card and the pictures whose edges showed the key, small and
    // large, under every look.
    const struct {
        const char* key;
        float scale;
    } cards[] = {{"inkcard", 0.9f}, {"inkcard", 0.23f}, {"kourtina", 0.9f}, {"kourtina2", 2.6f},
                 {"saw", 0.9f},     {"hammer", 0.35f},  {"moona", 1.7f},    {"golg", 0.6f}};
    // Looks that move from one stop-motion frame to the next are seen at a few.
    SpriteCanvas canvas(256, 256, 1.0f);
    for (const auto& card : cards)
        for (const InkLook& look : LOOKS)
            for (float frame : {81.3f, 82.4f})
                for (float flow : {0.0f, -0.3f}) {
                    // The sink line is checked on the ink card alone.
                    if (flow != 0 && std::string(card.key) != "inkcard") continue;
                    setLook(look.objectType, 1, flow);
                    registry.sprite.ttime = registry.sprite.ittime = frame;
                    Drawn d = drawCard(canvas, card.key, card.scale);
                    // The ink card's paper beside its widest bar; the other
                    // pictures' paper lies beside their rims anyway.
                    cv::Point at = canvasAt(104, 90, 256);
                    Rgb paper = card.scale == 0.9f && std::string(card.key) == "inkcard"
                                    ? patchMean(d.colour, 256, cv::Rect(at.x - 3, at.y - 3, 6, 6))
                                    : pixel(d.colour, 256, 0, 0);
                    std::string first;
                    int keyed = keyedEdgePixels(d.colour, d.mask, d.width, d.height, paper, first);
                    EXPECT_EQ(keyed, 0) << card.key << " at " << card.scale << ", ObjectType " << look.objectType
                                        << ", time " << frame << ", OtherFlow " << flow << ": " << first;
                }
}

// A figure's render under every look: its ink stays ink, its paper paper.
TEST_F(InkLookTest, FigureKeepsItsInkUnderEveryLook) {
    RenderTarget figure = clearedMeshTarget();
    glUseProgram(0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);  // the outline lies on the costume, at its depth
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(0.95f, 0.95f, 0.95f, 1);  // a pale costume
    glRecti(-1, -1, 0, 1);
    glColor4f(0.06f, 0.06f, 0.06f, 1);  // its ink outline, thick
    glRectf(-0.2f, -1, 0, 1);
    figure.resolve(1);
    for (const InkLook& look : LOOKS) {
        setLook(look.objectType, 1, 0);
        SpriteCanvas canvas(320, 180, 1.7777778f);
        glClearColor(0.42f, 0.4f, 0.38f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glRotatef(180, 0, 0, 1);
        registry.drawScreen(figure.colourTextures[0], 1);
        std::vector<uint8_t> rgba = canvas.read(0);
        // The render's left half is figure; after the half-turn it lies right.
        Rgb costume = patchMean(rgba, 320, cv::Rect(200, 70, 30, 40));
        Rgb ink = patchMean(rgba, 320, cv::Rect(164, 70, 8, 40));
        SCOPED_TRACE(testing::Message() << "ObjectType " << look.objectType);
        EXPECT_GT(costume.r + costume.g + costume.b, 3 * 120.0) << "the costume printed dark";
        EXPECT_LT(ink.r + ink.g + ink.b, 3 * 90.0) << "the outline lost its ink";
    }
}
