// sprite_state.h - the drawing state every cut-out draw shares: the look,
// the times and control values the clip program receives, the program and
// the paper. The registry holds one; the scene timeline writes it before the
// groups draw (the times and controls once a frame, the look before each
// cut-out) and the sprite drawers read it at the moment of each draw.
//
//   frame.sprite.ObjectType = 8;           // the look of the next draws
//   drawImageQuad(frame.sprite, image.texture);
#pragma once
#include "render/shader_program.h"
#include "render/texture.h"

struct SpriteState {
    float ObjectType = 0;  // look selector, "ObjectType"
    float ttime = 0;       // scene time, "ttime"
    float ittime = 0;      // scene time stepped down to tenths, "ittime"
    ShaderProgram clipProgram;  // every sprite draw uses it
    Texture paperTexture;       // "Paper"
    int Mode = 0;               // "Mode"
    // The live control values, "k0".."k5". The show runs with them at 0; they
    // flow through so that a maker's tweak reaches the sprites.
    float k0 = 0, k1 = 0, k2 = 0, k3 = 0, k4 = 0, k5 = 0;
};
