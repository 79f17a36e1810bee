#include "app/desk.h"

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "app/app_state.h"
#include "app/stroke_font.h"
#include "platform/file_bytes.h"
#include "platform/output_files.h"
#include "platform/system_time.h"
#include "platform/user_state.h"
#include "render/gl_state.h"
#include "show/part_clips.h"
#include "show/scene_module.h"
#include "show/scene_timeline.h"

// A desk file is a few short lines; anything larger is not one.
constexpr size_t DESK_FILE_MAX_BYTES = 64 << 10;

const char* const DESK_KEY_HELP =
    "P pause  , . frame  Left/Right 1s  Down/Up 10s  Home start  PgUp/PgDn act  I O loop in/out  L loop  "
    "1-9 bookmark  Ctrl+1-9 store  H hud";

static Part_Clips* showPart(AppState& state) {
    return state.parts.empty() ? nullptr : dynamic_cast<Part_Clips*>(state.parts[0]);
}

void startDesk(AppState& state) {
    Desk& desk = state.desk;
    state.live.desk = &desk.transport;
    state.live.deskCommands.clear();  // keys pressed in the launcher or while loading
    desk.shaderWatch = watchFolder(std::string(SHOW_DATA_DIR) + "shaders");
    std::string folder = userStateFolder();
    if (folder.empty()) return;
    desk.filePath = folder + "/desk.txt";
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readWholeFile(desk.filePath, DESK_FILE_MAX_BYTES, &bytes, &why)) return;  // none yet
    if (!readDeskFileText(std::string(bytes.begin(), bytes.end()), desk.transport, why))
        fprintf(stderr, "desk - %s ignored: %s\n", desk.filePath.c_str(), why.c_str());
}

bool handleDeskKey(AppState& state, int scancode, bool control, bool repeat) {
    std::vector<DeskCommand>& commands = state.live.deskCommands;
    // Held arrows and frame keys repeat; the toggles do not.
    switch (scancode) {
        case SDL_SCANCODE_COMMA: commands.push_back({DESK_STEP, -DESK_FRAME_STEP}); return true;
        case SDL_SCANCODE_PERIOD: commands.push_back({DESK_STEP, DESK_FRAME_STEP}); return true;
        case SDL_SCANCODE_LEFT: commands.push_back({DESK_SEEK, -1}); return true;
        case SDL_SCANCODE_RIGHT: commands.push_back({DESK_SEEK, 1}); return true;
        case SDL_SCANCODE_DOWN: commands.push_back({DESK_SEEK, -10}); return true;
        case SDL_SCANCODE_UP: commands.push_back({DESK_SEEK, 10}); return true;
        default: break;
    }
    if (repeat) return false;
    switch (scancode) {
        case SDL_SCANCODE_P: commands.push_back({DESK_PAUSE}); return true;
        case SDL_SCANCODE_HOME: commands.push_back({DESK_TO_START}); return true;
        case SDL_SCANCODE_PAGEUP: commands.push_back({DESK_PREVIOUS_ACT}); return true;
        case SDL_SCANCODE_PAGEDOWN: commands.push_back({DESK_NEXT_ACT}); return true;
        case SDL_SCANCODE_I: commands.push_back({DESK_LOOP_IN}); return true;
        case SDL_SCANCODE_O: commands.push_back({DESK_LOOP_OUT}); return true;
        case SDL_SCANCODE_L: commands.push_back({DESK_LOOP_TOGGLE}); return true;
        case SDL_SCANCODE_H: state.desk.hudVisible = !state.desk.hudVisible; return true;
        default: break;
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        int slot = scancode - SDL_SCANCODE_1;
        commands.push_back({control ? DESK_STORE_BOOKMARK : DESK_JUMP_BOOKMARK, 0, slot});
        return true;
    }
    return false;
}

bool shaderChangeMatters(const std::string& name, const std::vector<std::string>& sources) {
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".xxx") == 0) return false;
    for (const std::string& source : sources) {
        size_t slash = source.find_last_of('/');
        if (source.compare(slash == std::string::npos ? 0 : slash + 1, std::string::npos, name) == 0) return true;
    }
    return false;
}

static std::vector<ShaderProgram*> programsOf(Part_Clips& part) {
    return {&part.blurProgram, &part.postProgram, &part.finalProgram, &part.registry.sprite.clipProgram,
            &part.objectProgram};
}

// Rebuilds the programs once when a file any of them reads was saved.
static void reloadSavedShaders(Desk& desk, Part_Clips& part) {
    bool rebuild = false;
    std::vector<ShaderProgram*> programs = programsOf(part);
    for (const std::string& name : changedFiles(desk.shaderWatch))
        for (ShaderProgram* program : programs) rebuild = rebuild || shaderChangeMatters(name, program->sources);
    if (rebuild) part.buildShaders();
}

void beginDeskFrame(AppState& state) {
    Desk& desk = state.desk;
    if (Part_Clips* part = showPart(state)) reloadSavedShaders(desk, *part);
    desk.hudTrace.calls.clear();
    desk.hudTrace.uniforms.clear();
    desk.hudTrace.generatorAfterGroup.clear();
    drawTrace = desk.hudVisible ? &desk.hudTrace : nullptr;
}

static void saveDesk(Desk& desk) {
    desk.transport.changed = false;
    if (desk.filePath.empty()) return;
    std::string text = deskFileText(desk.transport);
    std::string why = prepareOutputDir(folderOf(desk.filePath));
    int error = why.empty() ? writeWholeFile(desk.filePath, std::vector<uint8_t>(text.begin(), text.end())) : 0;
    if (error) why = writeFailure(desk.filePath, error);
    if (!why.empty()) fprintf(stderr, "desk - %s\n", why.c_str());
}

// Text at (x, y) in window pixels, `size` pixels tall.
static void hudText(float x, float y, float size, const std::string& text) {
    glPushMatrix();
    glTranslatef(x, y, 0);
    float scale = size / 20.0f;
    glScalef(scale, scale, 1);
    drawStrokeText(text.c_str());
    glPopMatrix();
}

static std::string hudStatusLine(const Desk& desk, const Part_Clips& part, const NanoKONTROL2* controls) {
    char line[200];
    int act = actAtSceneTime(part.sceneTime);
    snprintf(line, sizeof line, "raw %.3f  scene %.3f  flag %d  act %d %s", part.rawTime, part.sceneTime,
             part.timeFlag, act + 1, ACTS[act].name);
    std::string status = line;
    float ms = desk.frameSeconds * 1000.0f;
    snprintf(line, sizeof line, "   %.1f ms  %.0f fps", ms, ms > 0 ? 1000.0f / ms : 0.0f);
    status += line;
    if (deskPaused(controls)) status += "   PAUSED";
    const DeskTransport& t = desk.transport;
    if (t.loopIn != DESK_NO_TIME || t.loopOut != DESK_NO_TIME) {
        snprintf(line, sizeof line, "   loop %.3f-%.3f %s", t.loopIn, t.loopOut, t.looping ? "ON" : "off");
        status += line;
    }
    return status;
}

static std::string hudGroupsLine(const Desk& desk) {
    std::string line = "groups";
    for (int group : desk.drawingGroups) line += " " + std::to_string(group);
    return line;
}

static std::string firstShaderError(Part_Clips& part) {
    for (ShaderProgram* program : programsOf(part))
        if (!program->error.empty()) return program->error.substr(0, program->error.find('\n'));
    return std::string();
}

static void drawHud(AppState& state, Part_Clips& part) {
    Desk& desk = state.desk;
    int width = state.window.width, height = state.window.height;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    glViewport(0, 0, width, height);
    loadIdentityMatrices();
    glScalef(1.0f, -1.0f, 1.0f);
    glTranslatef(-1.0f, -1.0f, 0.0f);
    glScalef(2.0f / width, 2.0f / height, 1.0f);  // window pixels, y down
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);

    float size = std::max(12.0f, height / 48.0f);
    std::string error = firstShaderError(part);
    const std::string& module = sceneModuleStatus();
    int lines = 4 + (error.empty() ? 0 : 1) + (module.empty() ? 0 : 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 0.6f);
    glRectf(0, 0, static_cast<float>(width), size * 1.5f * lines + size * 0.5f);
    glDisable(GL_BLEND);

    float y = size * 1.3f;
    glColor3f(1, 1, 1);
    hudText(size * 0.5f, y, size, hudStatusLine(desk, part, state.live.controls));
    y += size * 1.5f;
    glColor3f(0.75f, 0.85f, 1);
    hudText(size * 0.5f, y, size * 0.8f, hudGroupsLine(desk));
    y += size * 1.5f;
    if (!error.empty()) {
        glColor3f(1, 0.3f, 0.25f);
        hudText(size * 0.5f, y, size * 0.8f, error);
        y += size * 1.5f;
    }
    if (!module.empty()) {
        glColor3f(0.6f, 1, 0.6f);
        hudText(size * 0.5f, y, size * 0.8f, module);
        y += size * 1.5f;
    }
    glColor3f(1, 0.85f, 0.3f);
    hudText(size * 0.5f, y, size * 0.8f, desk.transport.notice);
    y += size * 1.5f;
    glColor3f(0.7f, 0.7f, 0.7f);
    hudText(size * 0.5f, y, size * 0.62f, DESK_KEY_HELP);
    resetGLState();
}

void endDeskFrame(AppState& state) {
    Desk& desk = state.desk;
    drawTrace = nullptr;
    // Measured here: the clock's frame time is clamped for stalls.
    int64_t now = systemTicks();
    if (desk.lastFrameTicks != 0) {
        float seconds = static_cast<float>((now - desk.lastFrameTicks) / 1e7);
        desk.frameSeconds = desk.frameSeconds == 0 ? seconds : desk.frameSeconds + (seconds - desk.frameSeconds) * 0.1f;
    }
    desk.lastFrameTicks = now;
    if (desk.transport.changed) saveDesk(desk);
    if (!desk.hudVisible) return;
    desk.drawingGroups.clear();
    for (const DrawCall& call : desk.hudTrace.calls)
        if (call.group > 0 && std::find(desk.drawingGroups.begin(), desk.drawingGroups.end(), call.group) ==
                                  desk.drawingGroups.end())
            desk.drawingGroups.push_back(call.group);
    std::sort(desk.drawingGroups.begin(), desk.drawingGroups.end());
    if (Part_Clips* part = showPart(state)) drawHud(state, *part);
}
