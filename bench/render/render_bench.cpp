// Rendering toolkit timings: one noise sample, the preprocessor, and building
// the show's five programs from plain sources or from their scrambled copies.
// The stage files are stand-ins of the real ones' size and kind.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "render/noise.h"
#include "render/shader_program.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/temp_folder.h"

static const char* COMMON =
    "float hash12(vec2 p) {\n"
    "    vec3 p3 = fract(vec3(p.xyx) * 0.1031);\n"
    "    p3 += dot(p3, p3.yzx + 33.33);\n"
    "    return fract((p3.x + p3.y) * p3.z);\n"
    "}\n"
    "float valueNoise(vec2 p) {\n"
    "    vec2 i = floor(p), f = fract(p);\n"
    "    vec2 u = f * f * (3.0 - 2.0 * f);\n"
    "    return mix(mix(hash12(i), hash12(i + vec2(1.0, 0.0)), u.x),\n"
    "               mix(hash12(i + vec2(0.0, 1.0)), hash12(i + vec2(1.0, 1.0)), u.x), u.y);\n"
    "}\n"
    "uniform float k0, k1, k2, k3, k4, k5;\n"
    "uniform float ttime, ittime;\n";

static const char* V_FIXED =
    "#version 120\n"
    "void main() {\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
    "}\n";

static const char* F_BLUR =
    "#version 120\n"
    "uniform sampler2D Texture;\n"
    "uniform float texture_width, texture_height;\n"
    "void main() {\n"
    "    vec2 uv = gl_TexCoord[0].xy, texel = vec2(1.0 / texture_width, 1.0 / texture_height);\n"
    "    vec4 sum = vec4(0.0);\n"
    "    for (int x = -4; x <= 4; ++x)\n"
    "        for (int y = -4; y <= 4; ++y)\n"
    "            sum += texture2D(Texture, uv + vec2(float(x), float(y)) * texel);\n"
    "    gl_FragColor = sum / 81.0;\n"
    "}\n";

static const char* F_POST =
    "#version 120\n"
    "#include \"DIR/common.cpp\"\n"
    "uniform sampler2D Colour0, Colour1, Colour2, Depth, moon;\n"
    "#replace GRAIN\n"
    "void main() {\n"
    "    vec2 uv = gl_TexCoord[0].xy;\n"
    "    vec4 c = texture2D(Colour0, uv);\n"
    "    vec4 glow = texture2D(Colour1, uv) * k1;\n"
    "    vec4 mask = texture2D(Colour2, uv);\n"
    "    float depth = texture2D(Depth, uv).r;\n"
    "    float fog = smoothstep(0.2, 1.0, depth) * k2;\n"
    "    vec3 tone = mix(c.rgb, vec3(dot(c.rgb, vec3(0.299, 0.587, 0.114))), k0);\n"
    "    tone += glow.rgb * mask.a;\n"
    "    tone = mix(tone, vec3(0.9, 0.85, 0.8), fog);\n"
    "    float v = 1.0 - dot(uv - 0.5, uv - 0.5) * 1.2;\n"
    "    float g = (valueNoise(uv * 900.0 + ttime * 37.0) - 0.5) * grain;\n"
    "    gl_FragColor = vec4(tone * v + g, 1.0) + texture2D(moon, uv) * k5;\n"
    "}\n";

static const char* V_TRACE =
    "#version 120\n"
    "varying vec2 screen;\n"
    "void main() {\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "    screen = gl_Vertex.xy;\n"
    "    gl_Position = gl_Vertex;\n"
    "}\n";

static const char* F_FINAL =
    "#version 120\n"
    "#include \"DIR/common.cpp\"\n"
    "uniform sampler2D Texture, Paper;\n"
    "varying vec2 screen;\n"
    "void main() {\n"
    "    vec2 uv = gl_TexCoord[0].xy;\n"
    "    vec2 shift = screen * 0.002 * (1.0 + k3);\n"
    "    float r = texture2D(Texture, uv + shift).r;\n"
    "    float g = texture2D(Texture, uv).g;\n"
    "    float b = texture2D(Texture, uv - shift).b;\n"
    "    vec3 c = vec3(r, g, b);\n"
    "    vec3 paper = texture2D(Paper, uv * 2.0).rgb;\n"
    "    c *= mix(vec3(1.0), paper, 0.35);\n"
    "    c = c / (c + vec3(0.6)) * 1.6;\n"
    "    float flicker = 1.0 + (hash12(vec2(floor(ttime * 12.0), 1.0)) - 0.5) * 0.04;\n"
    "    gl_FragColor = vec4(pow(c * flicker, vec3(1.0 / 2.2)), 1.0);\n"
    "}\n";

static const char* V_CLIP =
    "#version 120\n"
    "varying vec3 position;\n"
    "void main() {\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "    gl_FrontColor = gl_Color;\n"
    "    position = (gl_ModelViewMatrix * gl_Vertex).xyz;\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
    "}\n";

static const char* F_CLIP =
    "#version 120\n"
    "#include \"DIR/common.cpp\"\n"
    "uniform sampler2D Texture, Paper;\n"
    "uniform float texture_width, texture_height, OtherMode, ObjectType, Mode;\n"
    "varying vec3 position;\n"
    "void main() {\n"
    "    vec2 uv = gl_TexCoord[0].xy;\n"
    "    vec4 c = texture2D(Texture, uv);\n"
    "    vec4 paper = texture2D(Paper, uv * vec2(texture_width, texture_height) / 1024.0);\n"
    "    if (Mode > 0.5) c.rgb = vec3(dot(c.rgb, vec3(0.333)));\n"
    "    if (OtherMode > 0.5) c.rgb = 1.0 - c.rgb;\n"
    "    if (ObjectType > 1.5) c.a *= smoothstep(0.0, 0.1, c.a);\n"
    "    float edge = valueNoise(uv * 40.0 + ittime) * 0.15;\n"
    "    c.rgb *= mix(vec3(1.0), paper.rgb, 0.5 + edge);\n"
    "    c.rgb *= 1.0 - clamp(-position.z * 0.02, 0.0, 0.5) * k4;\n"
    "    gl_FragColor = c * gl_Color;\n"
    "}\n";

static const char* V_OBJECT =
    "#version 120\n"
    "uniform mat4 MV, MP;\n"
    "varying vec3 normal;\n"
    "varying vec3 eye;\n"
    "void main() {\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "    normal = normalize(gl_NormalMatrix * gl_Normal);\n"
    "    vec4 p = MV * gl_Vertex;\n"
    "    eye = -p.xyz;\n"
    "    gl_Position = MP * p;\n"
    "}\n";

static const char* F_OBJECT =
    "#version 120\n"
    "#include \"DIR/common.cpp\"\n"
    "uniform sampler2D Texture, Paper;\n"
    "varying vec3 normal;\n"
    "varying vec3 eye;\n"
    "void main() {\n"
    "    vec3 n = normalize(normal), e = normalize(eye);\n"
    "    vec3 l = normalize(vec3(0.4, 0.8, 0.6));\n"
    "    float diffuse = max(dot(n, l), 0.0);\n"
    "    float rim = pow(1.0 - max(dot(n, e), 0.0), 3.0);\n"
    "    vec4 c = texture2D(Texture, gl_TexCoord[0].xy);\n"
    "    vec3 paper = texture2D(Paper, gl_TexCoord[0].xy * 3.0).rgb;\n"
    "    gl_FragColor = vec4(c.rgb * (0.3 + 0.7 * diffuse) * paper + rim * k0, c.a);\n"
    "}\n";

static const char* PROGRAMS[5][2] = {{"v_fixed.cpp", "f_simpleblur.cpp"},
                                     {"v_fixed.cpp", "f_postprocess_clips.cpp"},
                                     {"v_trace.cpp", "f_final_clips.cpp"},
                                     {"v_clip.cpp", "f_clip.cpp"},
                                     {"v_object.cpp", "f_object.cpp"}};

static void writeStages(const TempFolder& dir) {
    auto put = [&](const char* name, std::string text) {
        for (size_t at; (at = text.find("DIR")) != std::string::npos;) text.replace(at, 3, dir.path.string());
        dir.write(name, text);
    };
    put("common.cpp", COMMON);
    put("v_fixed.cpp", V_FIXED);
    put("f_simpleblur.cpp", F_BLUR);
    put("f_postprocess_clips.cpp", F_POST);
    put("v_trace.cpp", V_TRACE);
    put("f_final_clips.cpp", F_FINAL);
    put("v_clip.cpp", V_CLIP);
    put("f_clip.cpp", F_CLIP);
    put("v_object.cpp", V_OBJECT);
    put("f_object.cpp", F_OBJECT);
}

// The loader logs every stage; keep that out of the figures and the report.
struct SilencedStdout {
    int saved;
    SilencedStdout() {
        fflush(stdout);
        saved = dup(STDOUT_FILENO);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~SilencedStdout() {
        fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
};

static void BM_Noise(benchmark::State& state) {
    float x = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(noise(x, 1.3f, 0.5f));
        x += 0.37f;
        if (x > 1000.0f) x = 0.0f;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Noise);

static void BM_BuildNoiseTable(benchmark::State& state) {
    NoiseTable table;
    for (auto _ : state) {
        buildNoiseTable(table);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_BuildNoiseTable);

// state.range(0): 1 reads the plain sources (and rewrites the copies), 0 reads
// only the scrambled copies.
static void BM_PreprocessFivePrograms(benchmark::State& state) {
    TempFolder dir;
    writeStages(dir);
    ShaderReplacements table{{"GRAIN", "const float grain = 0.06;"}};
    SilencedStdout silenced;
    for (const auto& stages : PROGRAMS)
        for (const char* stage : stages) loadShaderSource(table, dir.file(stage));
    if (state.range(0) == 0)
        for (const auto& entry : std::filesystem::directory_iterator(dir.path))
            if (entry.path().extension() == ".cpp") std::filesystem::remove(entry.path());
    for (auto _ : state)
        for (const auto& stages : PROGRAMS)
            for (const char* stage : stages) benchmark::DoNotOptimize(loadShaderSource(table, dir.file(stage)));
}
BENCHMARK(BM_PreprocessFivePrograms)->ArgName("plain")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

static void BM_BuildFivePrograms(benchmark::State& state) {
    if (!glTestContextAvailable()) {
        state.SkipWithError("no display for a GL context");
        return;
    }
    TempFolder dir;
    writeStages(dir);
    ShaderProgram programs[5];
    SilencedStdout silenced;
    for (int i = 0; i < 5; ++i) {
        programs[i].replacements["GRAIN"] = "const float grain = 0.06;";
        programs[i].load(dir.file(PROGRAMS[i][0]), dir.file(PROGRAMS[i][1]));
    }
    if (state.range(0) == 0)
        for (const auto& entry : std::filesystem::directory_iterator(dir.path))
            if (entry.path().extension() == ".cpp") std::filesystem::remove(entry.path());
    for (auto _ : state) {
        for (int i = 0; i < 5; ++i) programs[i].load(dir.file(PROGRAMS[i][0]), dir.file(PROGRAMS[i][1]));
        glFinish();
    }
}
BENCHMARK(BM_BuildFivePrograms)->ArgName("plain")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Measure real compiles, not Mesa's on-disk shader cache.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
