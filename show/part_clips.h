// part_clips.h - the part that holds the whole show: what it owns, and its
// three jobs, each in a file of its own:
//
//   clips_loader  set-up: pictures, thorn, figures, programs (init)
//   clips_clock   the clock rule and the time map lookup (update)
//   clips_frame   the frame: time map, camera, scenes, passes (draw)
//
// Each frame runs update, then draw. update reads the time map as the last
// draw left it (the first frame reads it as constructed), and draw fills it
// again before anything else: that order is the show's, kept on purpose.
#pragma once
#include <GL/glew.h>

#include "assets/mesh_sequence.h"
#include "assets/texture_registry.h"
#include "render/math.h"
#include "render/shader_program.h"
#include "render/texture.h"
#include "show/part.h"
#include "timing/time_map.h"

// The scene time at which the show ends the process.
constexpr float SHOW_END_SCENE_TIME = 273.0f;

// Every data path is this prefix and a relative path, concatenated as is.
extern const char* const SHOW_DATA_DIR;

class Part_Clips : public Part {
public:
    void draw() override;    // clips_frame.cpp
    void update() override;  // clips_clock.cpp
    ~Part_Clips() override;
    void init() override;    // clips_loader.cpp
    // The five programs; again every frame while Space is held (clips_loader.cpp).
    void buildShaders();

    GLuint thornList = 0;
    Texture moonTexture;  // never loaded: kept because the post-process binds it as "moon" (texture 0)
    MeshSequence walk4800, walk4208, walk4589, walk4502, walk800, nude300;
    ShaderProgram blurProgram, postProgram, finalProgram, objectProgram;
    float rawTime = 0;    // this frame's raw show time, which `time` keeps
    float sceneTime = 0;  // the time map's scene time for it: what the scenes show
    TextureRegistry registry;  // also holds the sprite state: clipProgram and the paper
    int timeFlag = 0;  // flag of the time map at the current time
    float fttime = 0;  // the raw time as the shaders see it; the passes upload rawTime, equal to it
    Texture pattern3Texture, pattern4Texture, patternrTexture;  // repeat in S and T; only pattern3 is drawn
    Vec3 cameraOffset = {};  // the eye, which the scenes read
    Vec3 center = {};
    Vec3 up = {};
    float modelView[16] = {};   // read back each frame, uploaded as "MV"
    float projection[16] = {};  // uploaded as "MP"
    TimeMap timeMap;
    float tempo = 1.0f;  // divides the time map's segment lengths; never changed
    int frameCount = 0;  // frames drawn; counted as the show always has, read by nothing
};
