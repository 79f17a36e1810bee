#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "render/shader_program.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/temp_folder.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

static const char* VERTEX = "#version 120\nvoid main() { gl_Position = ftransform(); }\n";
static const char* FRAGMENT =
    "#version 120\n"
    "uniform float level;\n"
    "uniform sampler2D image;\n"
    "void main() { gl_FragColor = texture2D(image, vec2(0.5)) * level; }\n";

// Standard output sent to a pseudo-terminal, so the colour escapes are written
// as they would be on a console.
struct TerminalStdout {
    int master = -1, saved = -1;

    bool open() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return false;
        int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
        if (slave < 0) return false;
        termios raw;
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        fflush(stdout);
        saved = dup(STDOUT_FILENO);
        dup2(slave, STDOUT_FILENO);
        ::close(slave);
        fcntl(master, F_SETFL, O_NONBLOCK);
        return true;
    }

    std::string close() {
        fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        ::close(saved);
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
        ::close(master);
        return text;
    }
};

struct ShaderProgramTest : GLTest {
    TempFolder dir;
    ShaderProgram program;

    void loadQuietly(const std::string& vertex, const std::string& fragment) {
        CaptureStdout();
        program.load(dir.file(vertex), dir.file(fragment));
        GetCapturedStdout();
    }
};

TEST_F(ShaderProgramTest, BuildsAndSetsUniforms) {
    dir.write("v.cpp", VERTEX);
    dir.write("f.cpp", FRAGMENT);
    CaptureStdout();
    program.load(dir.file("v.cpp"), dir.file("f.cpp"));
    std::string log = GetCapturedStdout();
    EXPECT_NE(log.find("\n\nVertex loading: " + dir.file("v.cpp") + "\n" + std::string(75, '=') + "\n"),
              std::string::npos);
    EXPECT_NE(log.find("\nFragment loading: " + dir.file("f.cpp") + "\n"), std::string::npos);

    GLint linked = 0;
    glGetProgramiv(program.program, GL_LINK_STATUS, &linked);
    ASSERT_TRUE(linked);
    program.use();
    program.setFloat("level", 0.75f);
    program.setFloat("absent", 1.0f);  // location -1 is ignored
    float level = 0;
    glGetUniformfv(program.program, glGetUniformLocation(program.program, "level"), &level);
    EXPECT_EQ(level, 0.75f);
    ShaderProgram::unuse();
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderProgramTest, SetTextureLeavesTextureMatrixModeAndUnitZero) {
    dir.write("v.cpp", VERTEX);
    dir.write("f.cpp", FRAGMENT);
    loadQuietly("v.cpp", "f.cpp");
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glMatrixMode(GL_MODELVIEW);
    program.use();
    program.setTexture(3, "image", texture);

    GLint mode = 0, active = 0, bound = 0, sampler = -1;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(mode, GL_TEXTURE);
    EXPECT_EQ(active, GL_TEXTURE0);
    glActiveTexture(GL_TEXTURE3);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    glGetUniformiv(program.program, glGetUniformLocation(program.program, "image"), &sampler);
    EXPECT_EQ(sampler, 3);
    glMatrixMode(GL_MODELVIEW);
    ShaderProgram::unuse();
}

TEST_F(ShaderProgramTest, SetMatrixReadsColumnMajor) {
    dir.write("v.cpp", "#version 120\nuniform mat4 MV;\nvoid main() { gl_Position = MV * gl_Vertex; }\n");
    dir.write("f.cpp", "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n");
    loadQuietly("v.cpp", "f.cpp");
    program.use();
    float m[16];
    for (int i = 0; i < 16; ++i) m[i] = float(i);
    program.setMatrix4("MV", m);
    float back[16] = {};
    glGetUniformfv(program.program, glGetUniformLocation(program.program, "MV"), back);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(back[i], m[i]);
    ShaderProgram::unuse();
}

TEST_F(ShaderProgramTest, CompileErrorIsPrintedRedAndTheProgramStillLinks) {
    dir.write("v.cpp", VERTEX);
    dir.write("f.cpp", "#version 120\nvoid main() { gl_FragColor = undefined_thing; }\n");
    TerminalStdout terminal;
    if (!terminal.open()) GTEST_SKIP() << "no pseudo-terminal";
    program.load(dir.file("v.cpp"), dir.file("f.cpp"));
    std::string out = terminal.close();

    EXPECT_NE(program.program, 0u);
    EXPECT_TRUE(glIsProgram(program.program));
    GLint attached = 0;
    glGetProgramiv(program.program, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 2);

    const std::string red = "\033[91m", white = "\033[37m";
    size_t fragment = out.find("Fragment loading: ");
    ASSERT_NE(fragment, std::string::npos) << out;
    size_t redAt = out.find(red, fragment);
    ASSERT_NE(redAt, std::string::npos) << out;
    size_t errorAt = out.find("error", redAt);
    ASSERT_NE(errorAt, std::string::npos) << out;
    EXPECT_EQ(out.find('\033', redAt + 1), out.rfind(white));  // red until the closing white
    EXPECT_LT(errorAt, out.rfind(white));
    // The vertex stage compiled cleanly: its log stayed white.
    EXPECT_EQ(out.rfind(red, fragment), std::string::npos);
}

TEST_F(ShaderProgramTest, MissingStagesStillBuildWithoutNullSources) {
    CaptureStdout();
    program.load(dir.file("nothing.cpp"), dir.file("none.cpp"));
    std::string log = GetCapturedStdout();
    EXPECT_NE(log.find("ERROR XXX or CPP FILE NOT FOUND !"), std::string::npos);
    EXPECT_TRUE(glIsShader(program.vertexShader));
    EXPECT_TRUE(glIsShader(program.fragmentShader));
    EXPECT_TRUE(glIsProgram(program.program));
}

static int aliveShaderObjects() {
    int alive = 0;
    for (GLuint name = 1; name < 4096; ++name) alive += (glIsProgram(name) ? 1 : 0) + (glIsShader(name) ? 1 : 0);
    return alive;
}

TEST_F(ShaderProgramTest, ReloadDeletesTheObjectsItReplaces) {
    int before = aliveShaderObjects();
    dir.write("v.cpp", VERTEX);
    dir.write("f.cpp", FRAGMENT);
    loadQuietly("v.cpp", "f.cpp");
    program.use();  // current while rebuilt, as under the reload key
    GLuint oldProgram = program.program, oldVertex = program.vertexShader,
           oldFragment = program.fragmentShader;
    loadQuietly("v.cpp", "f.cpp");
    ShaderProgram::unuse();

    EXPECT_NE(program.program, oldProgram);
    EXPECT_TRUE(glIsProgram(program.program));
    EXPECT_FALSE(glIsProgram(oldProgram));
    EXPECT_FALSE(glIsShader(oldVertex));
    EXPECT_FALSE(glIsShader(oldFragment));

    // Many rebuilds leave exactly one program and two shaders alive.
    for (int i = 0; i < 20; ++i) loadQuietly("v.cpp", "f.cpp");
    ASSERT_LT(program.program, 4096u);
    EXPECT_EQ(aliveShaderObjects() - before, 3);
}

// A mistake saved in an included file while the show runs: the program in use
// stays, the error names the included file and its line, and the fixed file
// builds a new program and clears the error.
TEST_F(ShaderProgramTest, AFailedRebuildKeepsTheLastGoodProgramAndNamesTheLine) {
    dir.write("v.cpp", VERTEX);
    dir.write("tone.cpp", "float tone() { return 0.5; }\n");
    std::string fragment = "#version 120\n"
                           "#include \"" + dir.file("tone.cpp") + "\"\n"
                           "void main() { gl_FragColor = vec4(tone()); }\n";
    dir.write("f.cpp", fragment);
    loadQuietly("v.cpp", "f.cpp");
    ASSERT_TRUE(program.built);
    EXPECT_TRUE(program.error.empty());
    GLuint good = program.program;
    EXPECT_NE(std::find(program.sources.begin(), program.sources.end(), dir.file("tone.cpp")),
              program.sources.end());

    dir.write("tone.cpp", "float tone() {\n  float x = 1.0;\n  return x +* 2.0;\n}\n");
    CaptureStdout();
    program.load(dir.file("v.cpp"), dir.file("f.cpp"));
    std::string console = GetCapturedStdout();
    EXPECT_EQ(program.program, good);
    EXPECT_TRUE(glIsProgram(good));
    std::string where = dir.file("tone.cpp") + ":3: ";
    EXPECT_EQ(program.error.rfind(where, 0), 0u) << program.error;
    EXPECT_NE(console.find(where), std::string::npos) << console;

    dir.write("tone.cpp", "float tone() { return 0.25; }\n");
    loadQuietly("v.cpp", "f.cpp");
    EXPECT_TRUE(program.error.empty());
    EXPECT_TRUE(program.built);
    EXPECT_NE(program.program, good);
    EXPECT_FALSE(glIsProgram(good));
}

// Messages of the forms drivers write, traced through a map.
TEST(ShaderErrors, MapBackThroughTheIncludes) {
    ShaderSourceMap map;
    map.lines = {{"f.cpp", 1}, {"inc.cpp", 1}, {"inc.cpp", 2}, {"f.cpp", 2}, {"f.cpp", 3}};
    std::string log = "0:3(12): error: syntax error, unexpected '*'\n"
                      "0:5(1): warning: unused\n"
                      "0(5) : error C0000: syntax error\n"
                      "0:99(1): error: past the end\n"
                      "error: no line at all\n";
    EXPECT_EQ(mapShaderErrors(log, map, "f.cpp"),
              "inc.cpp:2: error: syntax error, unexpected '*'\n"
              "f.cpp:3: error C0000: syntax error\n"
              "f.cpp:99: error: past the end\n"
              "f.cpp: error: no line at all\n");
}
