#include "render/shader_program.h"

#include <cstdio>
#include <cstring>

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

// A missing stage still compiles, from an empty text, so GL never sees null.
static GLuint compileStage(GLenum type, const ShaderReplacements& replacements,
                           const std::string& name, bool verbose) {
    std::string text = loadShaderSource(replacements, name).value_or(std::string());
    GLuint shader = glCreateShader(type);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    reportCompileLog(shader, verbose, type == GL_VERTEX_SHADER);
    return shader;
}

void ShaderProgram::load(const std::string& vertexName, const std::string& fragmentName) {
    GLuint oldProgram = program, oldVertex = vertexShader, oldFragment = fragmentShader;

    if (verbose) printHeading(termcolor::Colour::BrightCyan, "\n\n", "Vertex loading: ", vertexName);
    vertexShader = compileStage(GL_VERTEX_SHADER, replacements, vertexName, verbose);
    if (verbose) printHeading(termcolor::Colour::BrightGreen, "\n", "Fragment loading: ", fragmentName);
    fragmentShader = compileStage(GL_FRAGMENT_SHADER, replacements, fragmentName, verbose);

    program = glCreateProgram();
    glAttachShader(program, fragmentShader);
    glAttachShader(program, vertexShader);
    glLinkProgram(program);
    if (verbose) {
        termcolor::setStdoutColour(termcolor::Colour::White);
        consolePrint(ConsoleLevel::Detail, "\n");
    }

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
