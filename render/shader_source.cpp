#include "render/shader_source.h"

#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "lib/termcolor/termcolor.h"
#include "platform/console.h"
#include "platform/crt_rand.h"
#include "platform/data_dir.h"

// Deeper nesting than this is a runaway include chain, not a real shader.
static const size_t MAX_INCLUDE_DEPTH = 32;
// One build reads at most this much, however the files include each other
// (a file that includes another twice at every level grows exponentially).
static const int MAX_FILES_PER_BUILD = 256;
static const size_t MAX_BYTES_PER_BUILD = 4u << 20;

// One build's bookkeeping: the files open above the current one, known by
// their canonical paths so that "a//b.cpp" and "a/b.cpp" are one file, and
// the work done so far.
struct ShaderBuild {
    std::vector<std::string> open;
    int files = 0;
    size_t bytes = 0;
    bool cut = false;  // the budget ran out: the rest of the build is left out
    ShaderSourceMap* map = nullptr;  // where output lines come from, when asked
};

static std::string canonicalPath(const std::string& name) {
    char resolved[PATH_MAX];
    return realpath(dataFile(name).c_str(), resolved) ? std::string(resolved) : name;
}

// Says once which file the build stopped at; later reads just stop.
static bool withinBudget(ShaderBuild& build, const std::string& name) {
    if (build.cut) return false;
    if (build.files <= MAX_FILES_PER_BUILD && build.bytes <= MAX_BYTES_PER_BUILD) return true;
    build.cut = true;
    termcolor::setStdoutColour(termcolor::Colour::BrightRed);
    printf("loadShaderSource - build stopped at %s: more than %d files or %zu bytes\n", name.c_str(),
           MAX_FILES_PER_BUILD, MAX_BYTES_PER_BUILD);
    return false;
}

std::string scrambledCopyName(const std::string& name) {
    size_t dot = name.find(".cpp");
    if (dot == std::string::npos) return std::string();
    return name.substr(0, dot) + ".xxx" + name.substr(dot + 4);
}

// Uses the show's one generator, as the copies were always written: a build
// leaves it elsewhere, which the scenes never see, since every frame's scenes
// seed it afresh before their first draw.
void scrambleBytes(char* bytes, size_t count) {
    crtSrand(9274);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(bytes[i] ^ (crtRand() % 255));
}

static bool fileExists(const std::string& path) {
    FILE* f = fopen(dataFile(path).c_str(), "rb");
    if (!f) return false;
    fclose(f);
    return true;
}

static void printError(const char* text) {
    termcolor::setStdoutColour(termcolor::Colour::BrightRed);
    printf("\n%s\n", text);
}

// A read-only installation rebuilds every frame while the reload key is held:
// it says once per copy that it cannot write it.
static void reportUnwritable(const std::string& copyName, int error) {
    static std::set<std::string> reported;
    if (!reported.insert(canonicalPath(copyName)).second) return;
    termcolor::setStdoutColour(termcolor::Colour::BrightRed);
    printf("loadShaderSource - cannot write %s: %s\n", copyName.c_str(), strerror(error));
}

static void writeScrambledCopy(const std::string& copyName, const std::string& text) {
    std::vector<char> bytes(text.begin(), text.end());
    bytes.push_back('\0');
    scrambleBytes(bytes.data(), bytes.size());
    FILE* f = fopen(dataFile(copyName).c_str(), "wb");
    bool written = f && fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int error = errno;
    if (f && fclose(f) != 0) written = false;
    if (!written) reportUnwritable(copyName, error);
}

static std::string readScrambledCopy(const std::string& copyName) {
    std::ifstream in(dataFile(copyName), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    scrambleBytes(bytes.data(), bytes.size());
    // A damaged copy may lack its final NUL: the text then ends with the file.
    size_t length = 0;
    while (length < bytes.size() && bytes[length] != '\0') ++length;
    return std::string(bytes.data(), length);
}

static std::vector<std::string> splitAtSpaces(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; std::getline(in, word, ' ');) words.push_back(word);
    return words;
}

static std::optional<std::string> loadSource(const ShaderReplacements& replacements,
                                             const std::string& name, ShaderBuild& build);

static std::string includedText(const ShaderReplacements& replacements, std::string name, ShaderBuild& build) {
    for (size_t at; (at = name.find('"')) != std::string::npos;) name.erase(at, 1);
    std::string canonical = canonicalPath(name);
    for (const std::string& open : build.open)
        if (open == canonical) {
            termcolor::setStdoutColour(termcolor::Colour::BrightRed);
            printf("loadShaderSource - include cycle: %s includes %s again\n", build.open.back().c_str(),
                   name.c_str());
            return std::string();
        }
    if (build.open.size() >= MAX_INCLUDE_DEPTH) {
        termcolor::setStdoutColour(termcolor::Colour::BrightRed);
        printf("loadShaderSource - includes nested deeper than %zu at %s\n", MAX_INCLUDE_DEPTH,
               name.c_str());
        return std::string();
    }
    if (!withinBudget(build, name)) return std::string();
    return loadSource(replacements, name, build).value_or(std::string());
}

// After one input line went out: an included text's lines were mapped by
// its own preprocessing (lines it could not map, as from a copy read back,
// get line 0), and the break after it is this file's line; a plain line, or
// a replacement of several lines, is all this file's line.
static void mapOutputLines(ShaderSourceMap& map, size_t linesBefore, const std::string& text, bool included,
                           const std::string& name, int lineNumber) {
    size_t breaks = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    if (included) {
        map.lines.resize(linesBefore + breaks, ShaderLineOrigin{name, 0});
        breaks = 0;
    }
    map.lines.insert(map.lines.end(), breaks + 1, ShaderLineOrigin{name, lineNumber});
}

static std::string preprocess(const ShaderReplacements& replacements, const std::string& name, ShaderBuild& build) {
    std::string output;
    int lineNumber = 0;
    std::ifstream in(dataFile(name));
    if (!in) {
        printError("ERROR FILE NOT FOUND !");
        return output;
    }
    for (std::string line; std::getline(in, line);) {
        build.bytes += line.size() + 1;
        if (!withinBudget(build, name)) break;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++lineNumber;
        bool included = false;
        size_t linesBefore = build.map ? build.map->lines.size() : 0;
        // Short lines are copied untouched; the length counts the line as read.
        if (line.size() > 9) {
            for (char& c : line)
                if (c == '\t') c = ' ';
            line.erase(0, line.find_first_not_of(' '));
            std::vector<std::string> words = splitAtSpaces(line);
            if (words.size() >= 2 && words[0] == "#include") {
                line = includedText(replacements, words[1], build);
                included = true;
            } else if (words.size() >= 2 && words[0] == "#replace") {
                auto found = replacements.find(words[1]);
                line = found != replacements.end() ? found->second : " ";
            }
        }
        output += line;
        output += '\n';
        if (build.map) mapOutputLines(*build.map, linesBefore, line, included, name, lineNumber);
    }
    return output;
}

static std::optional<std::string> loadSource(const ShaderReplacements& replacements,
                                             const std::string& name, ShaderBuild& build) {
    build.files++;
    consolePrint(ConsoleLevel::Detail, "Loading... %s\n", name.c_str());
    std::string copyName = scrambledCopyName(name);
    if (copyName.empty()) {
        termcolor::setStdoutColour(termcolor::Colour::BrightRed);
        printf("loadShaderSource - no \".cpp\" in the shader name \"%s\"\n", name.c_str());
        return std::nullopt;
    }
    bool plainFound = fileExists(name);
    bool copyFound = fileExists(copyName);
    consolePrint(ConsoleLevel::Detail, "Found: %d, %d\n", plainFound ? 1 : 0, copyFound ? 1 : 0);

    if (build.map) build.map->files.push_back(name);
    if (plainFound) {
        build.open.push_back(canonicalPath(name));
        std::string text = preprocess(replacements, name, build);
        build.open.pop_back();
        writeScrambledCopy(copyName, text);
        return text;
    }
    if (copyFound) return readScrambledCopy(copyName);
    printError("ERROR XXX or CPP FILE NOT FOUND !");
    return std::nullopt;
}

std::optional<std::string> loadShaderSource(const ShaderReplacements& replacements,
                                            const std::string& name, ShaderSourceMap* map) {
    ShaderBuild build;
    build.map = map;
    return loadSource(replacements, name, build);
}
