#include <gtest/gtest.h>

#include "platform/crt_rand.h"
#include "render/shader_source.h"
#include "tests/support/temp_folder.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

struct ShaderSourceTest : ::testing::Test {
    TempFolder dir;
    ShaderReplacements table;

    std::string load(const std::string& name) {
        std::optional<std::string> text = loadShaderSource(table, dir.file(name));
        EXPECT_TRUE(text.has_value()) << name;
        return text.value_or("<none>");
    }
};

TEST(ScramblerTest, KeyIsTheSeededGeneratorModulo255) {
    char bytes[600] = {};
    scrambleBytes(bytes, sizeof bytes);
    crtSrand(9274);
    for (char b : bytes) {
        int key = crtRand() % 255;
        ASSERT_EQ(static_cast<unsigned char>(b), key);
        ASSERT_NE(key, 255);
    }
    scrambleBytes(bytes, sizeof bytes);
    for (char b : bytes) ASSERT_EQ(b, 0);
}

TEST(ScramblerTest, CopyNameReplacesTheFirstExtensionOnly) {
    EXPECT_EQ(scrambledCopyName("Resources//shaders//f_clip.cpp"), "Resources//shaders//f_clip.xxx");
    EXPECT_EQ(scrambledCopyName("a.cpp/b.cpp"), "a.xxx/b.cpp");
    EXPECT_EQ(scrambledCopyName("shader.glsl"), "");
}

TEST_F(ShaderSourceTest, TenCharacterBoundaryDecidesWhatIsADirective) {
    table["K"] = "float k;";
    dir.write("x.cpp", "#include a\n#include\n#replace K\n#replace \n  #inc b\n   #include\n");
    CaptureStdout();
    std::string text = load("x.cpp");
    GetCapturedStdout();
    // "#include a" is a directive (its name has no extension, so it includes
    // nothing); nine characters or fewer are copied as read.
    EXPECT_EQ(text, "\n#include\nfloat k;\n#replace \n  #inc b\n#include\n");
}

TEST_F(ShaderSourceTest, TabsLeadingBlanksAndExtraWords) {
    dir.write("inc.cpp", "vec4 shared_colour;\n");
    dir.write("main.cpp",
              "\t\t#include \"" + dir.file("inc.cpp") + "\" trailing words\n"
              "\t  float   x = 1.0;\n"
              "\tint y;\n"
              "#replace\tTONE\n"
              "#replace MISSING and more\n"
              "#includes something\n"
              "#include\"glued.cpp\"\n");
    table["TONE"] = "float tone = 0.5;";
    EXPECT_EQ(load("main.cpp"),
              "vec4 shared_colour;\n\n"
              "float   x = 1.0;\n"
              "\tint y;\n"
              "float tone = 0.5;\n"
              " \n"
              "#includes something\n"
              "#include\"glued.cpp\"\n");
}

TEST_F(ShaderSourceTest, CrlfReadsLikeLf) {
    dir.write("lf.cpp", "void main() {\n  gl_FragColor = vec4(1.0);\n}\n");
    dir.write("crlf.cpp", "void main() {\r\n  gl_FragColor = vec4(1.0);\r\n}\r\n");
    EXPECT_EQ(load("crlf.cpp"), load("lf.cpp"));
}

TEST_F(ShaderSourceTest, CopyRoundTripsByteForByte) {
    dir.write("inc.cpp", "uniform float k0;\n");
    std::string source = "#include " + dir.file("inc.cpp") + "\n\tvoid main() {}\n#replace KEY\nshort\n";
    table["KEY"] = "const float key = 2.0;";
    dir.write("s.cpp", source);
    std::string text = load("s.cpp");

    std::string copy = dir.read("s.xxx");
    ASSERT_EQ(copy.size(), text.size() + 1);
    scrambleBytes(copy.data(), copy.size());
    EXPECT_EQ(copy, text + '\0');
    // The included file got a copy of its own.
    EXPECT_EQ(dir.read("inc.xxx").size(), std::string("uniform float k0;\n").size() + 1);

    std::filesystem::remove(dir.file("s.cpp"));
    std::filesystem::remove(dir.file("inc.cpp"));
    table.clear();  // the copy already holds the substitutions
    EXPECT_EQ(load("s.cpp"), text);
}

TEST_F(ShaderSourceTest, EmptyTextHasAOneByteCopy) {
    dir.write("empty.cpp", "");
    EXPECT_EQ(load("empty.cpp"), "");
    EXPECT_EQ(dir.read("empty.xxx").size(), 1u);
    std::filesystem::remove(dir.file("empty.cpp"));
    EXPECT_EQ(load("empty.cpp"), "");
}

TEST_F(ShaderSourceTest, DamagedCopyIsTerminatedAtItsEnd) {
    std::string bytes = "void main() {}";  // no NUL inside
    scrambleBytes(bytes.data(), bytes.size());
    dir.write("d.xxx", bytes);
    EXPECT_EQ(load("d.cpp"), "void main() {}");
    dir.write("zero.xxx", "");
    EXPECT_EQ(load("zero.cpp"), "");
}

TEST_F(ShaderSourceTest, LogsWhatItFinds) {
    dir.write("p.cpp", "x\n");
    CaptureStdout();
    loadShaderSource(table, dir.file("p.cpp"));
    loadShaderSource(table, dir.file("p.cpp"));
    std::optional<std::string> none = loadShaderSource(table, dir.file("none.cpp"));
    std::string log = GetCapturedStdout();
    EXPECT_FALSE(none.has_value());
    EXPECT_EQ(log,
              "Loading... " + dir.file("p.cpp") + "\nFound: 1, 0\n"
              "Loading... " + dir.file("p.cpp") + "\nFound: 1, 1\n"
              "Loading... " + dir.file("none.cpp") + "\nFound: 0, 0\n"
              "\nERROR XXX or CPP FILE NOT FOUND !\n");
}

TEST_F(ShaderSourceTest, MissingOrNamelessIncludesGiveEmptyText) {
    dir.write("m.cpp", "#include " + dir.file("gone.cpp") + "\n#include \"\" x\n#include noextension\nend\n");
    CaptureStdout();
    std::string text = load("m.cpp");
    std::string log = GetCapturedStdout();
    EXPECT_EQ(text, "\n\n\nend\n");
    EXPECT_NE(log.find("ERROR XXX or CPP FILE NOT FOUND !"), std::string::npos);
    EXPECT_NE(log.find("no \".cpp\" in the shader name \"noextension\""), std::string::npos);
}

TEST_F(ShaderSourceTest, IncludeCyclesAndRunawayDepthStop) {
    dir.write("a.cpp", "#include " + dir.file("b.cpp") + "\nfloat a;\n");
    dir.write("b.cpp", "#include " + dir.file("a.cpp") + "\nfloat b;\n");
    CaptureStdout();
    std::string text = load("a.cpp");
    std::string log = GetCapturedStdout();
    EXPECT_EQ(text, "\nfloat b;\n\nfloat a;\n");
    EXPECT_NE(log.find("include cycle"), std::string::npos) << log;

    // A chain of distinct files deeper than any real shader.
    for (int i = 0; i < 40; ++i)
        dir.write("f" + std::to_string(i) + ".cpp", "#include " + dir.file("f" + std::to_string(i + 1) + ".cpp") + "\n");
    CaptureStdout();
    std::string deep = load("f0.cpp");
    log = GetCapturedStdout();
    EXPECT_NE(log.find("nested deeper than 32"), std::string::npos);
    EXPECT_EQ(deep, std::string(32, '\n'));
}

TEST_F(ShaderSourceTest, UnwritableCopyStillReturnsTheText) {
    // A folder in the copy's place cannot be written, not even by root.
    dir.write("r.cpp", "float r;\n");
    std::filesystem::create_directory(dir.file("r.xxx"));
    CaptureStdout();
    std::optional<std::string> text = loadShaderSource(table, dir.file("r.cpp"));
    std::string log = GetCapturedStdout();
    EXPECT_EQ(text.value_or("<none>"), "float r;\n");
    EXPECT_NE(log.find("cannot write " + dir.file("r.xxx")), std::string::npos) << log;
}

// A file that includes itself under other spellings of its path is still a
// cycle: files are known by their canonical paths.
TEST_F(ShaderSourceTest, SelfIncludeUnderOtherSpellingsIsACycle) {
    std::filesystem::create_directory(dir.file("shaders"));
    std::string plain = dir.file("shaders/f.cpp");
    std::string doubled = dir.path.string() + "//shaders//f.cpp";
    std::string dotted = dir.path.string() + "/./shaders/../shaders///f.cpp";
    dir.write("shaders/f.cpp", "#include " + doubled + "\n#include " + dotted + "\nfloat f;\n");
    CaptureStdout();
    std::string text = load("shaders/f.cpp");
    std::string log = GetCapturedStdout();
    EXPECT_EQ(text, "\n\nfloat f;\n");
    size_t cycles = 0;
    for (size_t at = 0; (at = log.find("include cycle", at)) != std::string::npos; ++at) ++cycles;
    EXPECT_EQ(cycles, 2u) << log;
}

// Files that include the next one four times over, twenty deep, would read
// four to the twentieth files: the build stops at its budget, says so once
// and returns what it has.
TEST_F(ShaderSourceTest, ExponentialIncludesStopAtTheBuildBudget) {
    for (int i = 0; i < 20; ++i) {
        std::string next = "#include " + dir.file("g" + std::to_string(i + 1) + ".cpp") + "\n";
        dir.write("g" + std::to_string(i) + ".cpp", next + next + next + next + "float g;\n");
    }
    CaptureStdout();
    std::string text = load("g0.cpp");
    std::string log = GetCapturedStdout();
    size_t loads = 0, stops = 0;
    for (size_t at = 0; (at = log.find("Loading... ", at)) != std::string::npos; ++at) ++loads;
    for (size_t at = 0; (at = log.find("build stopped", at)) != std::string::npos; ++at) ++stops;
    EXPECT_LE(loads, 260u);
    EXPECT_EQ(stops, 1u) << log.substr(0, 2000);
    EXPECT_LT(text.size(), 10000u);
}

// A read-only installation: every build fails to write the copy, but says so
// once for that copy, not once per build.
TEST_F(ShaderSourceTest, UnwritableCopyIsReportedOncePerFile) {
    dir.write("once.cpp", "float once;\n");
    std::filesystem::create_directory(dir.file("once.xxx"));
    CaptureStdout();
    for (int build = 0; build < 3; ++build) loadShaderSource(table, dir.file("once.cpp"));
    std::string log = GetCapturedStdout();
    size_t reports = 0;
    for (size_t at = 0; (at = log.find("cannot write", at)) != std::string::npos; ++at) ++reports;
    EXPECT_EQ(reports, 1u) << log;
}
