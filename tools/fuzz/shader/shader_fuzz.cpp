// Shader preprocessor fuzz target: any set of files gives a text, or none,
// in bounded time and memory, and the scrambled copy written beside the main
// file reads back as the same text once the plain file is gone.
//
// The input is up to five files split at NUL bytes, written into a fresh
// folder that is the working directory while the loader runs:
//   main.cpp   the stage that is loaded
//   a.cpp      a plain source
//   sub/b.cpp  a plain source one folder down, for other spellings of paths
//   c.xxx      the scrambled copy of a text ending in its NUL; c.cpp is absent
//   e.xxx      the scrambled copy of a text without its NUL (a damaged copy)
// and a folder named dir.cpp. Include names that climb out of the folder
// (an absolute path, "..") are defused first: the loader writes copies beside
// every plain file it reads.
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/shader_source.h"

namespace {

namespace fs = std::filesystem;

// A "/" that could begin an include name (after blanks and quotes) and every
// ".." lose their meaning; nothing else changes.
std::string defused(std::string text) {
    for (size_t at = 0; (at = text.find("..", at)) != std::string::npos;) text[at + 1] = '_';
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '/') continue;
        size_t before = at;
        while (before > 0 && text[before - 1] == '"') --before;
        if (before == 0 || text[before - 1] == ' ' || text[before - 1] == '\t' || text[before - 1] == '\n')
            text[at] = '_';
    }
    return text;
}

void writeFile(const fs::path& path, std::string bytes, bool scramble) {
    if (scramble) scrambleBytes(&bytes[0], bytes.size());
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// The folder the files live in, made once per process and emptied per input.
struct Scratch {
    fs::path folder;
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "shader-fuzz-XXXXXX").string();
        if (mkdtemp(&pattern[0])) folder = pattern;
    }
    ~Scratch() {
        std::error_code error;
        if (!folder.empty()) fs::remove_all(folder, error);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Scratch scratch;
    if (scratch.folder.empty()) return 0;
    std::vector<std::string> parts(1);
    for (size_t k = 0; k < size; ++k) {
        if (data[k] != 0)
            parts.back() += char(data[k]);
        else if (parts.size() < 5)
            parts.emplace_back();
    }
    parts.resize(5);

    fs::path root = scratch.folder;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(root, error)) fs::remove_all(entry.path(), error);
    fs::create_directory(root / "sub");
    fs::create_directory(root / "dir.cpp");
    writeFile(root / "main.cpp", defused(parts[0]), false);
    writeFile(root / "a.cpp", defused(parts[1]), false);
    writeFile(root / "sub" / "b.cpp", defused(parts[2]), false);
    writeFile(root / "c.xxx", defused(parts[3]) + '\0', true);
    writeFile(root / "e.xxx", defused(parts[4]), true);

    // A replacement that looks like a directive: values are not preprocessed again.
    const ShaderReplacements table = {{"TONE", "float tone = 0.5;"}, {"MORE", "#include \"a.cpp\""}};
    char back[PATH_MAX];
    if (!getcwd(back, sizeof(back)) || chdir(root.c_str()) != 0) return 0;
    std::optional<std::string> text = loadShaderSource(table, "main.cpp");
    fs::remove("main.cpp", error);
    std::optional<std::string> copy = loadShaderSource(table, "main.cpp");
    if (chdir(back) != 0) abort();
    if (!text || copy != text) __builtin_trap();
    return 0;
}
