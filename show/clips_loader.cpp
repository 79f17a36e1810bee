#include "show/clips_loader.h"

#include <GL/glew.h>

#include <cstdio>
#include <functional>
#include <string>

#include "assets/ply_model.h"
#include "platform/console.h"
#include "show/show_images.h"

const char* const SHOW_DATA_DIR = "Resources//";

Part_Clips::~Part_Clips() = default;

static std::string dataPath(const char* relative) { return std::string(SHOW_DATA_DIR) + relative; }

static void loadRepeatingTexture(Texture& texture, const char* relative) {
    loadTexture(texture, dataPath(relative), false, false);
    if (!texture.loaded) return;
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

// Redraws the loading screen (at its own pace) while set-up waits.
static std::function<void()> loadingProgress(Part_Clips& part) {
    if (!part.app->reportProgress) return {};
    PartApp* app = part.app;
    return [app] { app->reportProgress(0.03f, ""); };
}

void Part_Clips::init() {
    rate = 120;
    if (app->reportProgress) app->reportProgress(0.03f, "");
    loadClipsPictures(*this);
    loadClipsFigures(*this);
    buildShaders();
}

void loadClipsPictures(Part_Clips& part) {
    TextureRegistry& registry = part.registry;
    loadTexture(registry.sprite.paperTexture, dataPath("torvanel//paper.png"), false, false);
    loadRepeatingTexture(part.pattern3Texture, "torvanel//pattern3.jpg");
    loadRepeatingTexture(part.pattern4Texture, "torvanel//pattern4.jpg");
    loadRepeatingTexture(part.patternrTexture, "torvanel//patternr.jpg");

    loadPlyModel(dataPath("torvanel//thorn.ply"), &part.thornList);
    consolePrint(ConsoleLevel::Detail, "thorn out\n");

    registerShowImages(registry, SHOW_DATA_DIR, loadingProgress(part));
    // Every frame's scenes end with Mode 1, and the logo draws before they
    // set it again: start from there, so the first frame is like any other.
    registry.sprite.Mode = 1;
    // On standard error: a scene would draw a blank where this picture goes.
    for (const std::string& key : missingSceneKeys(registry))
        fprintf(stderr, "Part_Clips::init - no picture for the scene key \"%s\"\n", key.c_str());
}

// The six clips in set-up order.
void loadClipsFigures(Part_Clips& part) {
    const char* walking = "%sDemoQTR//walkingnude//%05d.cor";
    part.walk4800.frames.resize(10);
    part.walk4208.frames.resize(2);
    part.walk4589.frames.resize(2);
    part.walk800.frames.resize(40);
    part.walk4502.frames.resize(160);
    part.nude300.frames.resize(20);
    loadMeshSequences({{&part.walk4800, walking, 4800, 1},
                       {&part.walk4208, walking, 4208, 1},
                       {&part.walk4589, walking, 4589, 1},
                       {&part.walk800, walking, 800, 1},
                       {&part.walk4502, walking, 4502, 1},
                       {&part.nude300, "%sDemoQTR//nude2//%05d.cor", 300, 4}},
                      true, loadingProgress(part));
}

void Part_Clips::buildShaders() {
    blurProgram.load(dataPath("shaders/v_fixed.cpp"), dataPath("shaders/f_simpleblur.cpp"));
    postProgram.load(dataPath("shaders/v_fixed.cpp"), dataPath("shaders/f_postprocess_clips.cpp"));
    finalProgram.load(dataPath("shaders/v_trace.cpp"), dataPath("shaders/f_final_clips.cpp"));
    registry.sprite.clipProgram.load(dataPath("shaders//v_clip.cpp"), dataPath("shaders//f_clip.cpp"));
    objectProgram.load(dataPath("shaders//v_object.cpp"), dataPath("shaders//f_object.cpp"));
}
