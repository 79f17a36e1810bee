#include "show/clips_frame.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>

#include <algorithm>
#include <array>
#include <utility>

#include "platform/process_exit.h"
#include "render/gl_state.h"
#include "show/camera_script.h"
#include "show/live_inputs.h"
#include "show/scene_timeline.h"

void Part_Clips::draw() {
    fillShowTimeMap(timeMap, tempo);
    if (live->keys[SDL_SCANCODE_SPACE]) buildShaders();
    frameCount = frameCount + 1;
    // The show's end leaves the way Escape does.
    if (sceneTime >= SHOW_END_SCENE_TIME) exitProcess(0);

    placeClipsCamera(*this);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ShaderProgram::unuse();
    RenderTarget& scene = *app->sceneTarget;
    scene.attach(3);
    scene.bind(3);
    glViewport(0, 0, scene.width, scene.height);
    SceneFrame frame = clipsSceneFrame(*this);
    drawScenes(frame);
    scene.resolve(3);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    postProcessPass(*this);
    finalPass(*this);
}

SceneFrame clipsSceneFrame(Part_Clips& part) {
    const LiveInputs& live = *part.live;
    return SceneFrame{part.sceneTime,
                      part.timeFlag,
                      part.rawTime,
                      {live._k0, live._k1, live._k2, live._k3, live._k4, live._k5},
                      part.cameraOffset,
                      part.registry,
                      part.registry.sprite,
                      {part.walk4800, part.walk4208, part.walk4589, part.walk4502, part.walk800, part.nude300},
                      *part.app->sceneTarget,
                      *part.app->meshTargetA,
                      *part.app->meshTargetB,
                      part.objectProgram,
                      part.thornList,
                      part.pattern3Texture.id};
}

void placeClipsCamera(Part_Clips& part) {
    ShowCamera camera = cameraForSceneTime(part.sceneTime, part.timeFlag);
    part.cameraOffset = camera.eye;
    part.center = camera.center;
    part.up = camera.up;
    std::array<float, 16> perspective = setPerspective(45, part.app->aspect, 0.01f, 24);
    std::copy(perspective.begin(), perspective.end(), part.projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const Vec3 &eye = part.cameraOffset, &center = part.center, &up = part.up;
    gluLookAt(eye.x, eye.y, eye.z, center.x, center.y, center.z, up.x, up.y, up.z);
    glGetFloatv(GL_MODELVIEW_MATRIX, part.modelView);
}

// The control values reach the passes' "k0".."k5" as they reach the sprites,
// though the show always runs with them at 0: a maker's live tweak would
// flow through here.
static void setControlValues(const ShaderProgram& program, const LiveInputs& live) {
    program.setControls({live._k0, live._k1, live._k2, live._k3, live._k4, live._k5});
}

void postProcessPass(Part_Clips& part) {
    RenderTarget& scene = *part.app->sceneTarget;
    RenderTarget& other = *part.app->otherTarget;
    RenderTarget& post = *part.app->postTarget;
    ShaderProgram& program = part.postProgram;
    // A full-screen quad gains nothing from multisampling: it is drawn
    // straight into single-sampled textures, colour and depth.
    post.attach(1);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, post.width, post.height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    program.use();
    program.setFloat("ttime", part.sceneTime);
    program.setFloat("fttime", part.rawTime);
    program.setFloat("TheType", static_cast<float>(part.timeFlag));
    program.setMatrix4("MV", part.modelView);
    program.setMatrix4("MP", part.projection);
    setControlValues(program, *part.live);
    program.setTexture(0, "texture2d", scene.colourTextures[0]);
    program.setTexture(6, "texture2dOther", other.colourTextures[0]);
    program.setTexture(7, "texture2dOtherdepth", other.depthTexture);
    program.setTexture(1, "texture2d2", scene.colourTextures[1]);
    program.setTexture(3, "texture2d3", scene.colourTextures[2]);
    program.setTexture(2, "texturedepth", scene.depthTexture);
    program.setTexture(5, "moon", part.moonTexture.id);
    loadIdentityMatrices();
    glEnable(GL_TEXTURE_2D);
    drawFullScreenQuad();
    // The processed picture and its depth become the scene target's colour 0
    // and depth, as a resolve would have made them; the scene's own go to
    // the post target for the next frame. Attaching rebinds them each frame.
    std::swap(scene.colourTextures[0], post.colourTextures[0]);
    std::swap(scene.depthTexture, post.depthTexture);
}

void finalPass(Part_Clips& part) {
    RenderTarget& scene = *part.app->sceneTarget;
    ShaderProgram& program = part.finalProgram;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, part.app->width, part.app->height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ShaderProgram::unuse();
    glColor4f(1, 1, 1, 1);
    loadIdentityMatrices();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, scene.colourTextures[0]);
    program.use();
    program.setTexture(0, "texture2d", scene.colourTextures[0]);
    program.setTexture(1, "texture2ddepth", scene.depthTexture);
    program.setTexture(2, "texture2d2", scene.colourTextures[1]);
    setControlValues(program, *part.live);
    program.setFloat("TheType", static_cast<float>(part.timeFlag));
    program.setFloat("ttime", part.sceneTime);
    program.setFloat("fttime", part.rawTime);
    drawFullScreenQuad();
    ShaderProgram::unuse();
}
