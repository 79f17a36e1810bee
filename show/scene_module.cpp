#include "show/scene_module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/file_watch.h"

#ifndef TORVANEL_SCENE_MODULE_PATH
#define TORVANEL_SCENE_MODULE_PATH ""  // built without scene reloading
#endif

namespace fs = std::filesystem;

namespace {

// The one watch of the process: the frame reads its table from here.
struct SceneModuleWatch {
    fs::path path;
    FileWatch files;          // the module's folder
    bool firstLook = false;   // load whatever is there at the next check
    void* handle = nullptr;   // the module in use, null for the linked table
    SceneTable table = {SCENE_GROUPS, SCENE_GROUP_COUNT};
    int copies = 0;           // copies made so far, for unique names
    std::string status;
};

SceneModuleWatch watch;

void report(const std::string& line) {
    watch.status = line;
    printf("%s\n", line.c_str());
    fflush(stdout);
}

std::string clockTime() {
    std::time_t now = std::time(nullptr);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", std::localtime(&now));
    return text;
}

// Why the module behind `handle` cannot be used, or "" with its table.
std::string refusal(void* handle, SceneTable* table) {
    auto layout = reinterpret_cast<SceneModuleLayoutFn>(dlsym(handle, SCENE_MODULE_LAYOUT_SYMBOL));
    auto entry = reinterpret_cast<SceneModuleTableFn>(dlsym(handle, SCENE_MODULE_TABLE_SYMBOL));
    if (!layout) return std::string("it lacks ") + SCENE_MODULE_LAYOUT_SYMBOL;
    if (!entry) return std::string("it lacks ") + SCENE_MODULE_TABLE_SYMBOL;
    if (layout() != sceneLayoutFingerprint()) return "it was built against another SceneFrame layout";
    *table = entry();
    if (!table->groups || table->count < 1 || table->count > 1000) return "its scene table is empty";
    for (const SceneGroup& group : *table)
        if (!group.draw || !group.name) return "its scene table has a group without a function or name";
    return "";
}

// A private copy under a name used once: the loader hands back the module
// it has already for a name it has seen, whatever the file holds now.
fs::path copyForLoading(std::error_code& error) {
    fs::path copy = fs::temp_directory_path(error);
    if (error) return {};
    copy /= "torvanel-scenes-" + std::to_string(getpid()) + "-" + std::to_string(++watch.copies) + ".so";
    fs::copy_file(watch.path, copy, fs::copy_options::overwrite_existing, error);
    return copy;
}

void loadModule() {
    const auto start = std::chrono::steady_clock::now();
    const std::string name = watch.path.string();
    std::error_code error;
    fs::path copy = copyForLoading(error);
    if (error) {
        report("SceneModule - " + name + " refused: cannot copy it (" + error.message() + "); old scenes kept");
        return;
    }
    void* handle = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    fs::remove(copy, error);  // the mapping stays; nothing is left in the temporary folder
    if (!handle) {
        // The loader names the private copy first: the maker knows the module.
        const char* loaderError = dlerror();
        std::string why = loaderError ? loaderError : "it does not load";
        if (why.rfind(copy.string() + ": ", 0) == 0) why.erase(0, copy.string().size() + 2);
        report("SceneModule - " + name + " refused: " + why + "; old scenes kept");
        return;
    }
    SceneTable table = {};
    std::string why = refusal(handle, &table);
    if (!why.empty()) {
        dlclose(handle);
        report("SceneModule - " + name + " refused: " + why + "; old scenes kept");
        return;
    }
    // Between frames nothing points into the old module any more.
    if (watch.handle) dlclose(watch.handle);
    watch.handle = handle;
    watch.table = table;
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    report("SceneModule - " + name + " loaded at " + clockTime() + " in " + std::to_string(took.count()) + " ms (" +
           std::to_string(table.count) + " groups)");
}

// Whether the watched file was closed after writing or moved into place
// since the last look.
bool moduleWritten() {
    const std::string name = watch.path.filename().string();
    for (const std::string& changed : changedFiles(watch.files))
        if (changed == name) return true;
    return false;
}

}  // namespace

SceneTable currentSceneTable() { return watch.table; }

const char* builtSceneModulePath() { return TORVANEL_SCENE_MODULE_PATH; }

const std::string& sceneModuleStatus() { return watch.status; }

void watchSceneModule(const std::string& path) {
    if (path.empty() || watch.files.fd >= 0) return;
    watch.path = fs::absolute(path);
    // The folder, not the file: a build replaces the file, and with it the
    // file's own watch.
    const std::string folder = watch.path.parent_path().string();
    watch.files = watchFolder(folder);
    if (watch.files.fd < 0) {
        report("SceneModule - cannot watch " + folder + "; scenes stay as linked");
        return;
    }
    watch.firstLook = true;
    watch.status = "SceneModule - scenes as linked; waiting for " + watch.path.string();
}

void checkSceneModule() {
    if (watch.files.fd < 0) return;
    bool load = moduleWritten();
    if (watch.firstLook) {
        watch.firstLook = false;
        load = load || fs::exists(watch.path);
    }
    if (load) loadModule();
}
