// Procedural drawings for the pictures no clip art fits, and the
// compositions built on top of rendered clip art. Cut-out drawings return
// BGRA (transparent where empty), full-frame ones BGR.
#pragma once
#include <opencv2/core.hpp>
#include <cstdint>
#include <string>

struct DrawContext {
    std::string clipart;  // clip-art folder
    cv::Mat base;         // the recipe's rendered clip art, may be empty
    int size;             // longest side wanted
    uint32_t seed;
};

typedef cv::Mat (*Drawer)(const DrawContext&);

// bones and bodies (draw_body.cpp)
cv::Mat drawFootSkeleton(const DrawContext&);
cv::Mat drawDigestive(const DrawContext&);
cv::Mat drawRibcage(const DrawContext&);
cv::Mat drawRibcageFront(const DrawContext&);
cv::Mat drawRibcageBack(const DrawContext&);
cv::Mat drawFishSkeleton(const DrawContext&);
cv::Mat drawSkeletonCrawling(const DrawContext&);
cv::Mat drawMolar(const DrawContext&);
cv::Mat drawIncisor(const DrawContext&);
cv::Mat drawCanine(const DrawContext&);
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

// places and surfaces (draw_places.cpp)
cv::Mat drawStage(const DrawContext&);
cv::Mat drawEmptyRoom(const DrawContext&);
cv::Mat drawCave(const DrawContext&);
cv::Mat drawSea(const DrawContext&);
cv::Mat drawWater(const DrawContext&);
cv::Mat drawPaper(const DrawContext&);
cv::Mat tileBase(const DrawContext&);
cv::Mat composeAnimals(const DrawContext&);
cv::Mat composeLoader(const DrawContext&);

// shared pen (draw_pen.cpp)
cv::Mat transparentCanvas(int w, int h);
cv::Scalar ink(int b, int g, int r);
void drawBone(cv::Mat& m, cv::Point a, cv::Point b, int width);
// Alpha-blends a BGRA picture onto a BGRA canvas, clipped to it.
void paste(cv::Mat& dst, const cv::Mat& src, cv::Point at);
