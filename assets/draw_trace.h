// draw_trace.h - an optional record of every call the show's drawers get:
// what was drawn, by which scene group, with which look and matrix.
//
// The trace tool and the tests turn it on; the show never does, and then each
// drawer pays one null test. The drawers record themselves (sprites, screens,
// mesh frames); what a drawer cannot know (the mesh clip a group chose, the
// group's number) the caller tells the trace first.
//
//   DrawTrace trace;
//   trace.registry = &registry;
//   trace.textureNames[meshTargetA.colourTextures[0]] = "meshTargetA";
//   drawTrace = &trace;
//   ... draw a frame ...
//   drawTrace = nullptr;
//   for (const DrawCall& call : trace.calls) puts(drawCallJson(call).c_str());
#pragma once
#include <GL/glew.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

struct TextureRegistry;

struct DrawCall {
    int group;
    std::string kind;   // "image", "shatter", "screen", "shatterScreen", "mesh", "thorn", ...
    std::string name;   // an image key, a target's name, a mesh clip, or ""
    float ot;           // the sprite state's ObjectType at the call
    int mode;           // and its Mode
    float color[4];     // the current GL colour
    float mv[16];       // the model-view matrix as GL returns it (column-major)
    std::string extra;  // a JSON object of the call's own values
};

// One value of a call's extra object: a number or a string.
struct TraceValue {
    const char* key;
    std::string json;
    TraceValue(const char* k, double number);
    TraceValue(const char* k, const char* text);
};

// A shader value a scene group set outside the drawers ("OtherFlow").
struct UniformSet {
    int group;
    std::string name;
    float value;
};

struct DrawTrace {
    const TextureRegistry* registry = nullptr;  // image names, and ObjectType and Mode from its sprite state
    std::map<GLuint, std::string> textureNames;  // names of textures that are not images
    int group = 0;  // the scene group drawing now
    // The figure the next mesh draw shows, as the group chose it.
    std::string meshClip, meshTarget;
    int meshFrame = 0;
    std::vector<DrawCall> calls;
    std::vector<UniformSet> uniforms;
    // The random generator's state after each scene group, in table order:
    // every group's layouts depend on the calls made before it.
    std::vector<uint32_t> generatorAfterGroup;
};

// Null unless a tool or a test is recording.
extern DrawTrace* drawTrace;

// Appends a call with the current GL colour and model-view matrix. Does
// nothing while drawTrace is null.
void traceDraw(const char* kind, const std::string& name, std::initializer_list<TraceValue> extra = {});

// The name a trace gives a texture: its entry in textureNames, else the key of
// the registered image that owns it, else "texture N".
std::string traceTextureName(GLuint texture);

// Records a value a group set on a program. Does nothing while drawTrace is null.
void traceUniform(const char* name, float value);

// Tells the trace which clip frame the next mesh draw shows.
void traceMeshChoice(const char* clip, int frame, const char* target);

// A number as JSON with at least 9 significant digits; NaN and infinities,
// which JSON cannot hold, as null.
std::string jsonNumber(double value);

// {"group": G, "uniform": NAME, "value": V}
std::string uniformSetJson(const UniformSet& set);

// {"group": G, "kind": K, "name": N, "ot": OT, "mode": M, "color": [...], "mv": [...], "extra": {...}}
std::string drawCallJson(const DrawCall& call);
