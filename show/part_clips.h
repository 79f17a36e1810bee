// part_clips.h - the part that holds the whole show: its pictures, figures
// and programs, its clock and time map, and the frame (scenes drawn into the
// scene target, a post-process pass, a final pass to the window).
#pragma once
#include <GL/glew.h>

#include <functional>

#include "assets/mesh_sequence.h"
#include "assets/texture_registry.h"
#include "render/math.h"
#include "render/shader_program.h"
#include "render/texture.h"
#include "show/live_inputs.h"
#include "show/part.h"
#include "show/scene_frame.h"
#include "timing/time_map.h"

// The scene time at which the show ends the process.
constexpr float SHOW_END_SCENE_TIME = 273.0f;

// Every data path is this prefix and a relative path, concatenated as is.
extern const char* const SHOW_DATA_DIR;

class Part_Clips : public Part {
public:
    void draw() override;    // camera, scenes, post-process and final passes
    void update() override;  // the clock rule on time, then raw time to scene time
    ~Part_Clips() override;
    void init() override;    // loads the whole show; progress on the loading screen

    // The three stages of set-up, in the order it runs them.
    void loadPictures();  // paper, patterns, thorn, the 96 cut-outs
    void loadFigures();   // the six mesh sequences, decoded in parallel, then uploaded
    void buildShaders();  // the five programs; again every frame while Space is held
    // Redraws the loading screen (at its own pace) while set-up waits.
    std::function<void()> loadingProgress();

    // The steps of a frame around the scenes, in the order draw runs them.
    void placeCamera();      // the script's view at the scene time; keeps the matrices
    void postProcessPass();  // the resolved scene target through postProgram, in place
    void finalPass();        // the scene target through finalProgram to the window

    // What the scene groups read and draw with this frame.
    SceneFrame sceneFrame();

    GLuint thornList = 0;
    Texture moonTexture;  // never loaded: the post-process samples texture 0
    MeshSequence walk4800, walk4208, walk4589, walk4502, walk800, nude300;
    ShaderProgram blurProgram, postProgram, finalProgram, objectProgram;
    float rawTime = 0;    // this frame's raw show time, which `time` keeps
    float sceneTime = 0;  // the time map's scene time for it: what the scenes show
    TextureRegistry registry;  // also holds clipProgram and the paper
    int timeFlag = 0;  // flag of the time map at the current time
    float fttime = 0;  // the raw time as the shaders see it
    Texture pattern3Texture, pattern4Texture, patternrTexture;  // repeat in S and T
    Vec3 cameraOffset = {};  // the eye, which the scenes read
    Vec3 center = {};
    Vec3 up = {};
    float modelView[16] = {};   // read back each frame, uploaded as "MV"
    float projection[16] = {};  // uploaded as "MP"
    TimeMap timeMap;
    float tempo = 1.0f;
    int frameCount = 0;
};

// The clock rule on a raw time: pause, nudges, jump and mark from the control
// surface, the A key back to the opening. Returns the new raw time.
float advanceRawTime(float time, float rate, LiveInputs& live);
