// part_loader.h - the loading screen: one full-window picture redrawn while
// the show loads, keeping the window responsive (Escape still quits).
#pragma once
#include "render/texture.h"
#include "show/part.h"

class Part_Loader : public Part {
public:
    void draw() override;
    void update() override {}
    ~Part_Loader() override;
    void init() override;  // loads the loading-screen picture

    Texture picture;
};
