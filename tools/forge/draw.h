// Procedural drawings for the pictures no clip art fits, and the
// compositions built on top of rendered clip art. Cut-out drawings return
// BGRA (transparent where empty), full-frame ones BGR.
#pragma once
#include <opencv2/core.hpp>
#include <cstdint>
#include <string>
#include <vector>

struct DrawContext {
    std::string clipart;  // clip-art folder
    cv::Mat base;         // the recipe's rendered clip art, may be empty
    int size;             // longest side wanted
    uint32_t seed;
};

typedef cv::Mat (*Drawer)(const DrawContext&);

// skeletons (draw_bones.cpp)
cv::Mat drawFootSkeleton(const DrawContext&);
cv::Mat drawRibcage(const DrawContext&);
cv::Mat drawRibcageFront(const DrawContext&);
cv::Mat drawRibcageBack(const DrawContext&);
cv::Mat drawFishSkeleton(const DrawContext&);
cv::Mat drawSkeletonCrawling(const DrawContext&);

// teeth (draw_teeth.cpp)
cv::Mat drawMolar(const DrawContext&);
cv::Mat drawPremolar(const DrawContext&);
cv::Mat drawIncisor(const DrawContext&);
cv::Mat drawCanine(const DrawContext&);

// figures (draw_figure.cpp)
cv::Mat drawMusclesBack(const DrawContext&);

// organs and skulls (draw_body.cpp)
cv::Mat drawDigestive(const DrawContext&);
cv::Mat drawSkull(const DrawContext&);
cv::Mat crackSkull(const DrawContext&);
cv::Mat bloodSkull(const DrawContext&);
cv::Mat skullFront(const DrawContext&);
cv::Mat skullBack(const DrawContext&);

// things (draw_things.cpp)
cv::Mat drawVice(const DrawContext&);
cv::Mat drawTap(const DrawContext&);
cv::Mat drawHelmet(const DrawContext&);
cv::Mat drawCurtain(const DrawContext&);
cv::Mat drawDrape(const DrawContext&);
cv::Mat drawCrab(const DrawContext&);
cv::Mat drawNail(const DrawContext&);
cv::Mat composeColonnade(const DrawContext&);
cv::Mat composeFrame(const DrawContext&);
cv::Mat composeAngel(const DrawContext&);
cv::Mat composeWings(const DrawContext&);
cv::Mat openScreen(const DrawContext&);
cv::Mat onScreenSheet(const DrawContext&);

// knotted rope (draw_rope.cpp)
cv::Mat drawRopeKnot(const DrawContext&);
cv::Mat drawHangingKnot(const DrawContext&);
cv::Mat drawLoopKnot(const DrawContext&);

// the hand (draw_hand.cpp)
cv::Mat drawHand(const DrawContext&);

// skies (draw_sky.cpp)
cv::Mat drawCloud1(const DrawContext&);
cv::Mat drawCloud2(const DrawContext&);
cv::Mat drawCloud3(const DrawContext&);
cv::Mat drawCloud4(const DrawContext&);
cv::Mat drawCloudBank(const DrawContext&);

// paper-theatre backdrops (draw_backdrops.cpp)
cv::Mat drawCave(const DrawContext&);
cv::Mat drawGrotto(const DrawContext&);
cv::Mat drawGrottoMouth(const DrawContext&);
cv::Mat drawEmptyRoom(const DrawContext&);

// tools (draw_tools.cpp)
cv::Mat drawAxe(const DrawContext&);
cv::Mat drawPincers(const DrawContext&);
cv::Mat drawTypeForme(const DrawContext&);

// the sky's lights (draw_lights.cpp)
cv::Mat drawMoonPhases(const DrawContext&);
cv::Mat drawSun(const DrawContext&);

// water strips (draw_water.cpp)
cv::Mat drawSwell(const DrawContext&);
cv::Mat drawChop(const DrawContext&);
cv::Mat drawRipples(const DrawContext&);

// the loading screen (draw_loader.cpp)
cv::Mat composeLoader(const DrawContext&);

// places and surfaces (draw_places.cpp)
cv::Mat drawStage(const DrawContext&);
cv::Mat drawPaper(const DrawContext&);
cv::Mat tileBase(const DrawContext&);
cv::Mat tileWall(const DrawContext&);
cv::Mat composeAnimals(const DrawContext&);

// shared pen (draw_pen.cpp): canvases are BGRA; the shaded pieces are drawn
// in greys lit from the upper left, for the palette to print
cv::Mat transparentCanvas(int w, int h);
cv::Scalar ink(int b, int g, int r);
cv::Scalar grey(double tone);
extern const cv::Vec3f kBone, kWhite;  // tints, B G R
// A rounded tube along a polyline: `light` on its lit side, `dark` in shadow,
// times the tint.
void shadedStroke(cv::Mat& m, const std::vector<cv::Point2f>& path, float width, float light, float dark,
                  cv::Vec3f tint = kWhite);
void shadedBall(cv::Mat& m, cv::Point2f centre, float radius, float light, float dark, cv::Vec3f tint = kWhite);
// A polygon in low relief, rounded off towards its edges.
void shadedShape(cv::Mat& m, const std::vector<cv::Point2f>& outline, float light, float dark, cv::Vec3f tint = kWhite);
void drawBone(cv::Mat& m, cv::Point a, cv::Point b, int width);
// An ellipse's outline: half-axes `half`, turned by `degrees`.
std::vector<cv::Point2f> ovalOutline(cv::Point2f centre, cv::Size2f half, float degrees);
// A Catmull-Rom curve through the points, `steps` samples per span.
std::vector<cv::Point2f> smoothCurve(const std::vector<cv::Point2f>& points, bool closed, int steps);
// Points given in fractions of the canvas, in its pixels.
std::vector<cv::Point2f> scaled(const std::vector<cv::Point2f>& unit, const cv::Mat& m);
// Alpha-blends a BGRA picture onto a BGRA canvas, clipped to it.
void paste(cv::Mat& dst, const cv::Mat& src, cv::Point at);
