// scene_frame.h - everything a scene group may read and draw with in one
// frame. The clips part fills it before the scenes and nothing else reaches
// the groups, so a group's inputs are the fields it names.
#pragma once
#include <GL/glew.h>

#include "assets/mesh_sequence.h"
#include "assets/texture_registry.h"
#include "render/math.h"
#include "render/render_target.h"
#include "render/shader_program.h"

// The six captured figures, by the clip names the scenes use.
struct MeshClips {
    const MeshSequence& walk4800;  // hanging, 10 frames
    const MeshSequence& walk4208;  // falling, 2
    const MeshSequence& walk4589;  // a held stride, 2
    const MeshSequence& walk4502;  // walking, 160
    const MeshSequence& walk800;   // stumbling, 40
    const MeshSequence& nude300;   // the second figure turning, 20
};

struct SceneFrame {
    float t;          // scene time, seconds
    int timeFlag;     // 1 on a replayed stretch of scene time
    float rawTime;    // the show clock the scene time was looked up for
    float k[6];       // the live control values k0..k5
    Vec3 cameraOffset;  // the eye of this frame's camera
    TextureRegistry& registry;  // the cut-outs, found by key
    SpriteState& sprite;        // the registry's sprite state: look, times, controls
    MeshClips clips;
    RenderTarget& sceneTarget;  // the frame is composed here
    RenderTarget& meshTargetA;  // mesh figures are drawn here first,
    RenderTarget& meshTargetB;  // then composited as cut-outs
    const ShaderProgram& objectProgram;  // draws the mesh figures
    GLuint thornList;        // the thorn model's display list
    GLuint pattern3Texture;  // bound for the chain
};
