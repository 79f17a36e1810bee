// shader_source.h - reads a GLSL stage through the "#include"/"#replace"
// preprocessor and keeps a scrambled copy of the result beside it.
//
//   std::map<std::string, std::string> table{{"TONE", "float tone = 0.5;"}};
//   std::optional<std::string> text = loadShaderSource(table, "Resources//shaders/f_x.cpp");
//
// "name.cpp" is the editable source; "name.xxx" holds the preprocessed text and
// a NUL, XORed with the C-runtime generator seeded 9274. When the plain source
// is present it is preprocessed and the copy rewritten; otherwise the copy is
// read back. Neither present: no text. Needs no GL context.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

using ShaderReplacements = std::map<std::string, std::string>;

// Where one line of preprocessed text came from: the file as it was named
// and its line (from 1). Line 0: a line the preprocessor made (the break
// after an included file), or one read back from a scrambled copy.
struct ShaderLineOrigin {
    std::string file;
    int line;
};
// Every file read, and the origin of each output line in order, so that a
// compiler message about line N of the text names the file a maker edits.
struct ShaderSourceMap {
    std::vector<std::string> files;
    std::vector<ShaderLineOrigin> lines;
};

// Logs "Loading... ", "Found: " and any failure to standard output. Fills
// `map` when given.
std::optional<std::string> loadShaderSource(const ShaderReplacements& replacements,
                                            const std::string& name, ShaderSourceMap* map = nullptr);

// The copy's name: the first ".cpp" replaced by ".xxx"; empty without ".cpp".
std::string scrambledCopyName(const std::string& name);

// Scrambling and unscrambling are the same XOR. Reseeds the shared generator.
void scrambleBytes(char* bytes, size_t count);
