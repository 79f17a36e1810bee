// torvanel-shader-copies - the scrambled copy of every shader source, written
// as the loader writes one whenever it reads a source, so that a package can
// ship the copies alone: the installed program then reads those and never
// writes inside its installation.
//
//   torvanel-shader-copies --out RESOURCES_DIR
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/console.h"
#include "render/shader_source.h"

int main(int argc, char** argv) {
    if (argc != 3 || strcmp(argv[1], "--out") != 0) {
        fputs("usage: torvanel-shader-copies --out RESOURCES_DIR\n", stderr);
        return 2;
    }
    std::string resources = argv[2];
    std::string shaders = resources + "/shaders";
    std::vector<std::string> sources;
    if (DIR* dir = opendir(shaders.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".cpp") == 0) sources.push_back(name);
        }
        closedir(dir);
    }
    if (sources.empty()) {
        fprintf(stderr, "torvanel-shader-copies: no shader sources in %s\n", shaders.c_str());
        return 1;
    }
    std::sort(sources.begin(), sources.end());
    // The shaders name each other "Resources//shaders//...", from the folder above.
    std::string parent = resources.find('/') == std::string::npos ? "." : resources.substr(0, resources.rfind('/'));
    if (chdir(parent.c_str()) != 0) {
        perror(("torvanel-shader-copies: " + parent).c_str());
        return 1;
    }
    consoleKeepDetail(false);
    for (const std::string& name : sources)
        if (!loadShaderSource(ShaderReplacements(), "Resources//shaders//" + name)) {
            fprintf(stderr, "torvanel-shader-copies: cannot read %s\n", name.c_str());
            return 1;
        }
    return 0;
}
