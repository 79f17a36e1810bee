// scene_module.h - the scene groups and their table reloaded while the show
// runs: built as a loadable module beside the program (the scene-reload
// build option), picked up at a frame boundary whenever the build rewrites
// it. Without a module the frame draws the table linked into the program.
//
//   watchSceneModule(builtSceneModulePath());   // once, before the first frame
//   ...each frame, before update and draw:
//   checkSceneModule();                         // maybe swaps the table
//   sceneModuleStatus();                        // the line a HUD shows
//
// Everything the groups share (the random generator, the draw trace, the
// registry and the drawers) stays in the program, which exports its symbols
// for the module. A module is refused, with one console line and the old
// table kept, when it does not load, lacks an entry point, or was compiled
// against another layout of what the program hands the groups.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "assets/draw_trace.h"
#include "assets/texture_registry.h"
#include "show/scene_timeline.h"

struct SceneTable {
    const SceneGroup* groups;
    int count;
    const SceneGroup* begin() const { return groups; }
    const SceneGroup* end() const { return groups + count; }
};

// The table drawScenes runs: the loaded module's, else SCENE_GROUPS.
SceneTable currentSceneTable();

// The module this build writes, or "" when it was built without the option.
const char* builtSceneModulePath();

// Starts watching `path` (nothing when empty): the next check loads it if it
// exists, later checks whenever it has been written or moved into place.
void watchSceneModule(const std::string& path);

// At a frame boundary: a cheap look at the watch (one non-blocking read);
// loads and swaps in a module written since the last look.
void checkSceneModule();

// One line on what the scenes are drawn from, or why the last module was
// refused ("" while nothing is watched).
const std::string& sceneModuleStatus();

// The module's entry points, exported with C names.
constexpr const char* SCENE_MODULE_LAYOUT_SYMBOL = "torvanelSceneLayout";
constexpr const char* SCENE_MODULE_TABLE_SYMBOL = "torvanelSceneTable";
using SceneModuleLayoutFn = uint64_t (*)();
using SceneModuleTableFn = SceneTable (*)();

// Raise by hand when a change reaches the groups through something the sizes
// and offsets below cannot see, such as a field's meaning. A shared
// function's changed signature needs nothing: the module then names a
// symbol the program lacks, and the loader refuses it.
constexpr uint64_t SCENE_MODULE_VERSION = 1;

constexpr uint64_t layoutStep(uint64_t hash, uint64_t value) { return (hash ^ value) * 1099511628211ull; }

// The sizes and offsets of everything a group reads through its frame: two
// sides compiled from different headers give different numbers. The records
// hold library types, which makes them "non-standard-layout" in the
// language's terms; without virtual bases offsetof is still exact in GCC.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
constexpr uint64_t sceneLayoutFingerprint() {
    uint64_t hash = 14695981039346656037ull;
    for (uint64_t value : {
             SCENE_MODULE_VERSION,
             uint64_t(sizeof(SceneFrame)), offsetof(SceneFrame, t), offsetof(SceneFrame, timeFlag),
             offsetof(SceneFrame, rawTime), offsetof(SceneFrame, k), offsetof(SceneFrame, cameraOffset),
             offsetof(SceneFrame, registry), offsetof(SceneFrame, sprite), offsetof(SceneFrame, clips),
             offsetof(SceneFrame, sceneTarget), offsetof(SceneFrame, meshTargetA),
             offsetof(SceneFrame, meshTargetB), offsetof(SceneFrame, objectProgram),
             offsetof(SceneFrame, thornList), offsetof(SceneFrame, pattern3Texture),
             uint64_t(sizeof(SpriteState)), offsetof(SpriteState, ObjectType), offsetof(SpriteState, ttime),
             offsetof(SpriteState, ittime), offsetof(SpriteState, clipProgram),
             offsetof(SpriteState, paperTexture), offsetof(SpriteState, Mode), offsetof(SpriteState, k0),
             offsetof(SpriteState, k5),
             uint64_t(sizeof(SceneGroup)), offsetof(SceneGroup, number), offsetof(SceneGroup, name),
             offsetof(SceneGroup, draw), uint64_t(sizeof(SceneTable)),
             uint64_t(sizeof(MeshClips)), uint64_t(sizeof(TextureRegistry)), uint64_t(sizeof(ClipImage)),
             uint64_t(sizeof(ShaderProgram)), uint64_t(sizeof(Texture)), uint64_t(sizeof(RenderTarget)),
             uint64_t(sizeof(MeshSequence)), uint64_t(sizeof(MeshFrame)), uint64_t(sizeof(Vec3)),
             uint64_t(sizeof(DrawTrace)), uint64_t(sizeof(DrawCall)),
         })
        hash = layoutStep(hash, value);
    return hash;
}
#pragma GCC diagnostic pop
