// How each picture file is made: clip art, a procedural drawing, or clip
// art with a drawing step on top, and whether it is a cut-out.
#pragma once
#include "draw.h"
#include "look.h"
#include "svg.h"

#include <string>
#include <vector>

enum class Kind { CutOut, Whole };

struct Recipe {
    std::string name;     // file stem of the picture
    Kind kind;
    Holes holes;          // cut-outs: which gaps in the drawing get paper
    int size;             // longest side of the drawing, pixels
    SvgCut svg;           // path null: no clip art
    Drawer draw;          // null: the clip art as it is
};

const std::vector<Recipe>& recipes();
const Recipe* findRecipe(const std::string& name);
