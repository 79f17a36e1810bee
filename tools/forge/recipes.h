// How each picture file is made: clip art, a procedural drawing, or clip
// art with a drawing step on top; what kind of picture it is; and where the
// show draws it, which sizes its print screens.
#pragma once
#include "draw.h"
#include "look.h"
#include "svg.h"

#include <string>
#include <vector>

enum class Kind {
    CutOut,   // a shape on the key colour
    Whole,    // fills its frame
    Repeats,  // fills its frame and is drawn side by side with itself
    AsDrawn,  // the drawing is the finished picture (the loading screen)
};

struct Recipe {
    std::string name;  // file stem of the picture
    Kind kind;
    Holes holes;       // cut-outs: which gaps in the drawing get paper
    int size;          // longest side of the drawing, pixels
    int shown;         // its longest side where the show draws it, 1080p pixels
    Accent accent;
    SvgCut svg;        // path null: no clip art
    Drawer draw;       // null: the clip art as it is
};

const std::vector<Recipe>& recipes();
const Recipe* findRecipe(const std::string& name);
