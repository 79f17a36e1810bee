// shader_program.h - one linked GLSL program (a vertex and a fragment stage).
//
//   ShaderProgram p;                       // empty table, verbose log
//   p.replacements["TONE"] = "float tone = 0.5;";
//   p.load("Resources//shaders/v_fixed.cpp", "Resources//shaders/f_post.cpp");
//   p.use();
//   p.setFloat("time", t);
//   p.setTexture(3, "Texture", image.id); // leaves GL_TEXTURE matrix mode, unit 0
//   ShaderProgram::unuse();
//
// Uniforms are looked up by name on every call and set on the program that is
// current in GL. A compile error is logged, never fatal: the first build's
// program is still linked. Calling load again replaces (and deletes) the
// previous GL objects, unless the new build fails where the old one had
// succeeded: then the old program stays in use and `error` says why, as
// "file:line: message" lines naming the file a maker edits (the preprocessor's
// includes traced back), until a build succeeds again.
#pragma once
#include <GL/glew.h>
#include <GL/glu.h>
#include <string>
#include <vector>

#include "render/shader_source.h"

struct ShaderProgram {
    ShaderReplacements replacements;  // "#replace" key -> line
    GLuint fragmentShader = 0;
    GLuint vertexShader = 0;
    GLuint program = 0;
    bool verbose = true;  // the build log on standard output
    bool built = false;   // the program in use compiled and linked
    std::string error;    // the last build's errors; empty after a good build
    std::vector<std::string> sources;  // every file the program in use was read from

    void load(const std::string& vertexName, const std::string& fragmentName);
    void use() const;
    static void unuse();
    void setFloat(const char* name, float value) const;
    // "k0".."k5": the six live control values every show program may read.
    void setControls(const float (&k)[6]) const;
    void setMatrix4(const char* name, const float* columnMajor16) const;
    void setTexture(int unit, const char* name, GLuint texture) const;
};

// A driver's compile log with each message's line traced back through the
// preprocessor: "0:12(7): error: x" becomes "file:line: error: x". Lines the
// map cannot place keep the stage's name. Only lines that say "error".
std::string mapShaderErrors(const std::string& log, const ShaderSourceMap& map, const std::string& stageName);
