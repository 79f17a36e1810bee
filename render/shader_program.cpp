#include "render/shader_program.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "lib/termcolor/termcolor.h"
#include "platform/console.h"

static void printHeading(termcolor::Colour colour, const char* lead, const char* title,
                         const std::string& name) {
    termcolor::setStdoutColour(colour);
    consolePrint(ConsoleLevel::Detail, "%s%s%s\n%s\n", lead, title, name.c_str(), std::string(75, '=').c_str());
}

static void reportCompileLog(GLuint shader, bool verbose, bool wholeLog) {
    char log[3000] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    if (verbose) termcolor::setStdoutColour(termcolor::Colour::White);
    if (strstr(log, "error")) termcolor::setStdoutColour(termcolor::Colour::BrightRed);
    if (!verbose) return;
    ConsoleLevel level = strstr(log, "error") ? ConsoleLevel::Error : ConsoleLevel::Detail;
    if (wholeLog) {
        consolePrint(level, "%s\n", log);
        return;
    }
    // Line by line; a last line without its LF is dropped.
    for (const char* line = log; const char* end = strchr(line, '\n'); line = end + 1)
        consolePrint(level, "%.*s\n", static_cast<int>(end - line), line);
}

std::string mapShaderErrors(const std::string& log, const ShaderSourceMap& map, const std::string& stageName) {
    std::string mapped;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("error") == std::string::npos) continue;
        // Mesa writes "0:LINE(COLUMN): message", others "0(LINE) : message".
        int source = 0, number = 0, column = 0, used = 0;
        std::string origin = stageName;
        std::string message = line;
        if (sscanf(line.c_str(), "%d:%d(%d): %n", &source, &number, &column, &used) >= 3 && used > 0)
            message = line.substr(used);
        else if (sscanf(line.c_str(), "%d(%d) : %n", &source, &number, &used) >= 2 && used > 0)
            message = line.substr(used);
        else
            number = 0;
        if (number >= 1 && static_cast<size_t>(number) <= map.lines.size()) {
            const ShaderLineOrigin& at = map.lines[number - 1];
            origin = at.file + ":" + std::to_string(at.line);
        } else if (number >= 1) {
            origin = stageName + ":" + std::to_string(number);
        }
        mapped += origin + ": " + message + "\n";
    }
    return mapped;
}

struct StageBuild {
    GLuint shader = 0;
    bool compiled = false;
    std::string errors;  // mapped, "file:line: message" lines
};

// A missing stage still compiles, from an empty text, so GL never sees null.
static StageBuild compileStage(GLenum type, const ShaderReplacements& replacements, const std::string& name,
                               bool verbose, std::vector<std::string>& sources) {
    ShaderSourceMap map;
    std::string text = loadShaderSource(replacements, name, &map).value_or(std::string());
    sources.insert(sources.end(), map.files.begin(), map.files.end());
    StageBuild stage;
    stage.shader = glCreateShader(type);
    const char* source = text.c_str();
    glShaderSource(stage.shader, 1, &source, nullptr);
    glCompileShader(stage.shader);
    reportCompileLog(stage.shader, verbose, type == GL_VERTEX_SHADER);
    GLint status = GL_FALSE;
    glGetShaderiv(stage.shader, GL_COMPILE_STATUS, &status);
    stage.compiled = status == GL_TRUE;
    if (!stage.compiled) {
        char log[3000] = {};
        glGetShaderInfoLog(stage.shader, sizeof log, nullptr, log);
        stage.errors = mapShaderErrors(log, map, name);
        if (stage.errors.empty()) stage.errors = name + ": does not compile\n";
    }
    return stage;
}

void ShaderProgram::load(const std::string& vertexName, const std::string& fragmentName) {
    GLuint oldProgram = program, oldVertex = vertexShader, oldFragment = fragmentShader;
    std::vector<std::string> newSources;

    if (verbose) printHeading(termcolor::Colour::BrightCyan, "\n\n", "Vertex loading: ", vertexName);
    StageBuild vertex = compileStage(GL_VERTEX_SHADER, replacements, vertexName, verbose, newSources);
    if (verbose) printHeading(termcolor::Colour::BrightGreen, "\n", "Fragment loading: ", fragmentName);
    StageBuild fragment = compileStage(GL_FRAGMENT_SHADER, replacements, fragmentName, verbose, newSources);

    GLuint newProgram = glCreateProgram();
    glAttachShader(newProgram, fragment.shader);
    glAttachShader(newProgram, vertex.shader);
    glLinkProgram(newProgram);
    GLint linked = GL_FALSE;
    glGetProgramiv(newProgram, GL_LINK_STATUS, &linked);
    std::string errors = vertex.errors + fragment.errors;
    if (errors.empty() && linked != GL_TRUE) {
        char log[3000] = {};
        glGetProgramInfoLog(newProgram, sizeof log, nullptr, log);
        errors = fragmentName + ": does not link: " + log;
        if (errors.back() != '\n') errors += '\n';
    }
    error = errors;
    // The traced-back messages, as "file:line: message": in the build log's
    // own colour when it is printed (red after an error), else red alone.
    if (!error.empty() && !verbose) termcolor::setStdoutColour(termcolor::Colour::BrightRed);
    if (!error.empty()) printf("%s", error.c_str());
    if (verbose || !error.empty()) {
        termcolor::setStdoutColour(termcolor::Colour::White);
        if (verbose) consolePrint(ConsoleLevel::Detail, "\n");
    }

    // A failed rebuild keeps the program that worked, so a mistake saved
    // mid-show never blanks the picture.
    if (!error.empty() && built) {
        glDeleteProgram(newProgram);
        glDeleteShader(vertex.shader);
        glDeleteShader(fragment.shader);
        return;
    }
    program = newProgram;
    vertexShader = vertex.shader;
    fragmentShader = fragment.shader;
    built = error.empty();
    sources = newSources;
    // A rebuild (the reload key does one per frame) must not pile up objects.
    // The new names are taken first, so none of them can reuse an old one.
    if (oldProgram) glDeleteProgram(oldProgram);
    if (oldVertex) glDeleteShader(oldVertex);
    if (oldFragment) glDeleteShader(oldFragment);
}

void ShaderProgram::use() const { glUseProgram(program); }

void ShaderProgram::unuse() { glUseProgram(0); }

void ShaderProgram::setFloat(const char* name, float value) const {
    glUniform1f(glGetUniformLocation(program, name), value);
}

void ShaderProgram::setControls(const float (&k)[6]) const {
    static const char* const NAMES[6] = {"k0", "k1", "k2", "k3", "k4", "k5"};
    for (int i = 0; i < 6; i++) setFloat(NAMES[i], k[i]);
}

void ShaderProgram::setMatrix4(const char* name, const float* columnMajor16) const {
    glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, columnMajor16);
}

void ShaderProgram::setTexture(int unit, const char* name, GLuint texture) const {
    GLint location = glGetUniformLocation(program, name);
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(location, unit);
    glMatrixMode(GL_TEXTURE);
    glActiveTexture(GL_TEXTURE0);
}
