// The scene module's two entry points: built only into the module, never
// into the program, beside the act files and the table.
#include "show/scene_module.h"

#define SCENE_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

SCENE_MODULE_EXPORT uint64_t torvanelSceneLayout() { return sceneLayoutFingerprint(); }

SCENE_MODULE_EXPORT SceneTable torvanelSceneTable() { return {SCENE_GROUPS, SCENE_GROUP_COUNT}; }
