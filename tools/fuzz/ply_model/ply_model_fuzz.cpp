// Thorn model fuzz target: the engine's use of the PLY reader. Any bytes give
// a model the display list can be recorded from, or an exception, which
// loadPlyModel reports. A crash, an overrun or undefined behaviour (a float
// index no integer holds, say) is a fault. Its seeds are the PLY reader's.
#include <exception>

#include "assets/ply_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size);
    try {
        PlyModel model = parsePlyModel(bytes, "fuzz input");
        size_t vertices = model.xyz.size() / 3;
        if (model.xyz.size() % 3 != 0 || model.rgb.size() != vertices * 3 || model.triangles.size() % 3 != 0)
            __builtin_trap();
        for (uint32_t index : model.triangles)
            if (index >= vertices) __builtin_trap();
        modelPlacement(model.xyz);
    } catch (const std::exception&) {
    }
    return 0;
}
