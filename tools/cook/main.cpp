// torvanel-cook: beside every picture and figure frame under a folder, the
// pixels the loader would make of it (see render/cooked_file.h), so that
// loading skips the decoding. A cooked file that already matches its source
// is left alone; one whose source no longer decodes is removed.
//
//   torvanel-cook --out Resources      // cook what is missing or stale
//   torvanel-cook --check Resources    // write nothing; exit 1 when any
//                                      // source has no matching cooked file
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/mesh_sequence.h"
#include "platform/file_bytes.h"
#include "render/cooked_file.h"
#include "render/texture.h"

namespace fs = std::filesystem;

static bool endsWith(const std::string& s, const char* tail) {
    size_t n = strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// The kind of cooked pixels a source file gets, or 0 for other files.
static CookedKind kindOf(const std::string& path) {
    if (endsWith(path, ".png") || endsWith(path, ".jpg")) return COOKED_RGB;
    if (endsWith(path, ".cor")) return COOKED_DXT1;
    return CookedKind(0);
}

static bool matches(const std::string& path, CookedKind kind) {
    std::vector<uint8_t> source;
    std::string why;
    CookedPixels cooked;
    return readWholeFile(path, 1u << 30, &source, &why) &&
           readCookedFile(cookedPathFor(path), source, kind, &cooked, &why) == COOKED_FOUND;
}

static bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string partial = path + ".partial";
    FILE* file = fopen(partial.c_str(), "wb");
    if (!file) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = fclose(file) == 0 && ok;
    return ok && rename(partial.c_str(), path.c_str()) == 0;
}

int main(int argc, char** argv) {
    if (argc != 3 || (strcmp(argv[1], "--out") != 0 && strcmp(argv[1], "--check") != 0)) {
        fprintf(stderr, "usage: torvanel-cook --out|--check FOLDER\n");
        return 2;
    }
    bool check = strcmp(argv[1], "--check") == 0;
    std::vector<std::string> sources;
    std::error_code error;
    for (fs::recursive_directory_iterator it(argv[2], error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file() && kindOf(it->path().string())) sources.push_back(it->path().string());
    if (error) {
        fprintf(stderr, "torvanel-cook - cannot list %s - %s\n", argv[2], error.message().c_str());
        return 1;
    }
    int cooked = 0, unmatched = 0;
    for (const std::string& path : sources) {
        CookedKind kind = kindOf(path);
        if (matches(path, kind)) continue;
        if (check) {
            printf("not cooked: %s\n", path.c_str());
            unmatched++;
            continue;
        }
        std::vector<uint8_t> file;
        std::string why;
        bool made = kind == COOKED_RGB ? cookTexturePicture(path, &file, &why) : cookMeshFramePicture(path, &file, &why);
        if (!made) {
            // Nothing to cook (a figure frame without a picture) or a source
            // that does not decode: the loader decodes it and says why.
            fs::remove(cookedPathFor(path), error);
            continue;
        }
        if (!writeFile(cookedPathFor(path), file)) {
            fprintf(stderr, "torvanel-cook - cannot write %s\n", cookedPathFor(path).c_str());
            return 1;
        }
        cooked++;
    }
    if (check) return unmatched ? 1 : 0;
    printf("torvanel-cook - %d of %zu files cooked, the rest already matched\n", cooked, sources.size());
    return 0;
}
