#include "show/part_clips.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "assets/ply_model.h"
#include "platform/console.h"
#include "platform/system_time.h"
#include "render/gl_state.h"
#include "show/camera_script.h"
#include "show/scene_timeline.h"
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

void Part_Clips::init() {
    rate = 120;
    if (app->reportProgress) app->reportProgress(0.03f, "");
    loadPictures();
    loadFigures();
    buildShaders();
}

void Part_Clips::loadPictures() {
    loadTexture(registry.paperTexture, dataPath("torvanel//paper.png"), false, false);
    loadRepeatingTexture(pattern3Texture, "torvanel//pattern3.jpg");
    loadRepeatingTexture(pattern4Texture, "torvanel//pattern4.jpg");
    loadRepeatingTexture(patternrTexture, "torvanel//patternr.jpg");

    loadPlyModel(dataPath("torvanel//thorn.ply"), &thornList);
    consolePrint(ConsoleLevel::Detail, "thorn out\n");

    registerShowImages(registry, SHOW_DATA_DIR, loadingProgress());
    // Every frame's scenes end with Mode 1, and the logo draws before they
    // set it again: start from there, so the first frame is like any other.
    registry.Mode = 1;
    // On standard error: a scene would draw a blank where this picture goes.
    for (const std::string& key : missingSceneKeys(registry))
        fprintf(stderr, "Part_Clips::init - no picture for the scene key \"%s\"\n", key.c_str());
}

// The six clips in set-up order, decoded on worker threads and uploaded here
// as each frame is ready.
void Part_Clips::loadFigures() {
    const char* walking = "%sDemoQTR//walkingnude//%05d.cor";
    walk4800.frames.resize(10);
    walk4208.frames.resize(2);
    walk4589.frames.resize(2);
    walk800.frames.resize(40);
    walk4502.frames.resize(160);
    nude300.frames.resize(20);
    loadMeshSequences({{&walk4800, walking, 4800, 1},
                       {&walk4208, walking, 4208, 1},
                       {&walk4589, walking, 4589, 1},
                       {&walk800, walking, 800, 1},
                       {&walk4502, walking, 4502, 1},
                       {&nude300, "%sDemoQTR//nude2//%05d.cor", 300, 4}},
                      true, loadingProgress());
}

std::function<void()> Part_Clips::loadingProgress() {
    if (!app->reportProgress) return {};
    return [this] { app->reportProgress(0.03f, ""); };
}

void Part_Clips::buildShaders() {
    blurProgram.load(dataPath("shaders/v_fixed.cpp"), dataPath("shaders/f_simpleblur.cpp"));
    postProgram.load(dataPath("shaders/v_fixed.cpp"), dataPath("shaders/f_postprocess_clips.cpp"));
    finalProgram.load(dataPath("shaders/v_trace.cpp"), dataPath("shaders/f_final_clips.cpp"));
    registry.clipProgram.load(dataPath("shaders//v_clip.cpp"), dataPath("shaders//f_clip.cpp"));
    objectProgram.load(dataPath("shaders//v_object.cpp"), dataPath("shaders//f_object.cpp"));
}

float advanceRawTime(float t, float rate, LiveInputs& live) {
    NanoKONTROL2* controls = live.controls;
    bool paused = controls && controls->toggle(NANO_KONTROL2_BUTTON_FOWARD) != 0;
    if (!paused) t = t + (rate / 120.0f) * live.frameTime * ((live._kz + 1.0f) * 3.0f + 1.0f);
    if (controls) {
        // Held nudge buttons step 2 ms a frame and slow the frame on purpose,
        // so a held button scrubs at a watchable pace.
        if (controls->value(NANO_KONTROL2_BUTTON_TRACK_FOWARD) > 1) {
            sleepMilliseconds(20);
            t = t + 0.002f;
        }
        if (controls->value(NANO_KONTROL2_BUTTON_TRACK_BACK) > 1) {
            sleepMilliseconds(20);
            t = t - 0.002f;
        }
        // Knob 6 holds a position: BACK jumps to it, REC stores the time there.
        if (controls->value(NANO_KONTROL2_BUTTON_BACK) > 1)
            t = controls->value(NANO_KONTROL2_ROTARY_KNOB_6) * 2.4f;
        if (controls->value(NANO_KONTROL2_BUTTON_REC) > 1)
            controls->setValue(NANO_KONTROL2_ROTARY_KNOB_6, t / 2.4f);
    }
    if (live.keys[SDL_SCANCODE_A]) t = -100.0f;
    return t;
}

void Part_Clips::update() {
    time = advanceRawTime(time, rate, *live);
    rawTime = time;
    fttime = time;
    int i = timeMapIndex(timeMap, time);
    timeFlag = timeMap.flags[i];
    sceneTime = timeMap.sceneTime[i];
}

void Part_Clips::draw() {
    fillShowTimeMap(timeMap, tempo);
    if (live->keys[SDL_SCANCODE_SPACE]) buildShaders();
    frameCount = frameCount + 1;
    if (sceneTime >= SHOW_END_SCENE_TIME) exit(0);

    placeCamera();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ShaderProgram::unuse();
    RenderTarget& scene = *app->sceneTarget;
    scene.attach(3);
    scene.bind(3);
    glViewport(0, 0, scene.width, scene.height);
    SceneFrame frame = sceneFrame();
    drawScenes(frame);
    scene.resolve(3);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    postProcessPass();
    finalPass();
}

SceneFrame Part_Clips::sceneFrame() {
    return SceneFrame{sceneTime,
                      timeFlag,
                      rawTime,
                      {live->_k0, live->_k1, live->_k2, live->_k3, live->_k4, live->_k5},
                      cameraOffset,
                      registry,
                      {walk4800, walk4208, walk4589, walk4502, walk800, nude300},
                      *app->sceneTarget,
                      *app->meshTargetA,
                      *app->meshTargetB,
                      objectProgram,
                      thornList,
                      pattern3Texture.id};
}

void Part_Clips::placeCamera() {
    ShowCamera camera = cameraForSceneTime(sceneTime, timeFlag);
    cameraOffset = camera.eye;
    center = camera.center;
    up = camera.up;
    std::array<float, 16> perspective = setPerspective(45, app->aspect, 0.01f, 24);
    std::copy(perspective.begin(), perspective.end(), projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(cameraOffset.x, cameraOffset.y, cameraOffset.z, center.x, center.y, center.z, up.x, up.y, up.z);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
}

void Part_Clips::postProcessPass() {
    RenderTarget& scene = *app->sceneTarget;
    RenderTarget& other = *app->otherTarget;
    RenderTarget& post = *app->postTarget;
    // A full-screen quad gains nothing from multisampling: it is drawn
    // straight into single-sampled textures, colour and depth.
    post.attach(1);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, post.width, post.height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    postProgram.use();
    postProgram.setFloat("ttime", sceneTime);
    postProgram.setFloat("fttime", rawTime);
    postProgram.setFloat("TheType", static_cast<float>(timeFlag));
    postProgram.setMatrix4("MV", modelView);
    postProgram.setMatrix4("MP", projection);
    postProgram.setControls({live->_k0, live->_k1, live->_k2, live->_k3, live->_k4, live->_k5});
    postProgram.setTexture(0, "texture2d", scene.colourTextures[0]);
    postProgram.setTexture(6, "texture2dOther", other.colourTextures[0]);
    postProgram.setTexture(7, "texture2dOtherdepth", other.depthTexture);
    postProgram.setTexture(1, "texture2d2", scene.colourTextures[1]);
    postProgram.setTexture(3, "texture2d3", scene.colourTextures[2]);
    postProgram.setTexture(2, "texturedepth", scene.depthTexture);
    postProgram.setTexture(5, "moon", moonTexture.id);
    loadIdentityMatrices();
    glEnable(GL_TEXTURE_2D);
    drawFullScreenQuad();
    // The processed picture and its depth become the scene target's colour 0
    // and depth, as a resolve would have made them; the scene's own go to
    // the post target for the next frame. Attaching rebinds them each frame.
    std::swap(scene.colourTextures[0], post.colourTextures[0]);
    std::swap(scene.depthTexture, post.depthTexture);
}

void Part_Clips::finalPass() {
    RenderTarget& scene = *app->sceneTarget;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, app->width, app->height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ShaderProgram::unuse();
    glColor4f(1, 1, 1, 1);
    loadIdentityMatrices();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, scene.colourTextures[0]);
    finalProgram.use();
    finalProgram.setTexture(0, "texture2d", scene.colourTextures[0]);
    finalProgram.setTexture(1, "texture2ddepth", scene.depthTexture);
    finalProgram.setTexture(2, "texture2d2", scene.colourTextures[1]);
    finalProgram.setControls({live->_k0, live->_k1, live->_k2, live->_k3, live->_k4, live->_k5});
    finalProgram.setFloat("TheType", static_cast<float>(timeFlag));
    finalProgram.setFloat("ttime", sceneTime);
    finalProgram.setFloat("fttime", rawTime);
    drawFullScreenQuad();
    ShaderProgram::unuse();
}
