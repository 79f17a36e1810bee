// The whole show loaded from the generated Resources into a real 1280 x 720
// show window, then a few frames drawn through the passes and read back.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "app/app_state.h"
#include "app/offline_show.h"
#include "show/clips_frame.h"
#include "show/show_images.h"

namespace {

GLint textureParameter(GLuint id, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

bool linked(const ShaderProgram& program) {
    GLint status = 0;
    if (program.program) glGetProgramiv(program.program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}


void checkLoadsEverythingWithoutAMissingFile(Part_Clips* part, const std::string* log, const std::string* errors) {
    for (const char* failure : {"cannot", "ERROR", "exception", "narrower", "dropped", "no picture"})
        EXPECT_EQ(log->find(failure), std::string::npos) << failure << " in the set-up log";
    EXPECT_EQ(*errors, "");
    EXPECT_NE(log->find("thorn out\n"), std::string::npos);
    // Worker threads' lines may fall between them, but the counts come in order.
    size_t at = 0;
    for (const char* count : {"\n0/ 160\n", "\n50/ 160\n", "\n100/ 160\n", "\n150/ 160\n"}) {
        at = log->find(count, at);
        ASSERT_NE(at, std::string::npos) << count;
    }
    EXPECT_NE(part->thornList, 0u);
}

void checkRegistersTheImagesInOrder(Part_Clips* part) {
    const std::vector<ClipImage>& images = part->registry.images;
    ASSERT_EQ(images.size(), size_t(SHOW_IMAGE_COUNT));
    EXPECT_EQ(images.front().key, "logo");
    EXPECT_EQ(images[14].key, "back3");
    EXPECT_EQ(images[21].key, "Mcave1");
    EXPECT_EQ(images.back().key, "cloud4");
    for (const ClipImage& image : images) EXPECT_TRUE(image.texture.loaded) << image.key;

    // The swapped keys show the other file's picture; the other names are not keys.
    cv::Mat animals = cv::imread("Resources/torvanel/backanimals.jpg");
    ClipImage* back3 = part->registry.find("back3");
    ASSERT_NE(back3, nullptr);
    EXPECT_EQ(back3->texture.height, animals.rows);
    for (const char* other : {"backanimals", "ropeall", "ear", "otherback_tile", "ribcage", "fishmore2",
                              "fishskeleton", "skeletoncrawling"})
        EXPECT_EQ(part->registry.find(other), nullptr) << other;
    EXPECT_TRUE(missingSceneKeys(part->registry).empty());
}

std::vector<uint8_t> texturePixels(const Texture& texture) {
    std::vector<uint8_t> pixels(size_t(texture.width) * size_t(texture.height) * 4);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The pictures decoded on worker threads are the ones registering each file
// in turn on this thread gives, under the same keys in the same order.
void checkParallelPicturesMatchOneByOne(Part_Clips* part) {
    TextureRegistry serial;
    for (const ShowImageFile& file : showImageFiles("Resources//")) serial.add(file.image, file.picture);
    const std::vector<ClipImage>& images = part->registry.images;
    ASSERT_EQ(serial.images.size(), images.size());
    for (size_t i = 0; i < images.size(); i++) {
        const Texture& mine = images[i].texture;
        const Texture& theirs = serial.images[i].texture;
        EXPECT_EQ(images[i].key, serial.images[i].key);
        ASSERT_EQ(mine.width, theirs.width) << images[i].key;
        ASSERT_EQ(mine.height, theirs.height) << images[i].key;
        EXPECT_TRUE(texturePixels(mine) == texturePixels(theirs)) << images[i].key;
        glDeleteTextures(1, &theirs.id);
    }
}

void checkPaperClampsAndPatternsRepeat(Part_Clips* part) {
    ASSERT_TRUE(part->registry.sprite.paperTexture.loaded);
    EXPECT_EQ(textureParameter(part->registry.sprite.paperTexture.id, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    for (const Texture* pattern : {&part->pattern3Texture, &part->pattern4Texture, &part->patternrTexture}) {
        ASSERT_TRUE(pattern->loaded);
        EXPECT_EQ(textureParameter(pattern->id, GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(textureParameter(pattern->id, GL_TEXTURE_WRAP_T), GL_REPEAT);
    }
    EXPECT_FALSE(part->moonTexture.loaded);
}

void checkLoadsSixFigureSequencesWithPictures(Part_Clips* part) {
    const MeshSequence* sequences[] = {&part->walk4800, &part->walk4208, &part->walk4589,
                                       &part->walk4502, &part->walk800,  &part->nude300};
    const size_t frames[] = {10, 2, 2, 160, 40, 20};
    for (int s = 0; s < 6; s++) {
        ASSERT_EQ(sequences[s]->frames.size(), frames[s]) << "sequence " << s;
        for (const MeshFrame& frame : sequences[s]->frames) {
            ASSERT_NE(frame.displayList, 0u);
            ASSERT_GT(frame.triangleCount, 1000) << "sequence " << s;
            ASSERT_GT(frame.texture.width, 0) << "sequence " << s;
            // Nothing decoded outlives the upload.
            ASSERT_TRUE(frame.picture.empty());
            ASSERT_TRUE(frame.compressedPicture.empty() && frame.positions.empty() && frame.indices.empty());
        }
    }
}

void checkBuildsTheFivePrograms(Part_Clips* part, const std::string* log) {
    for (const ShaderProgram* program : {&part->blurProgram, &part->postProgram, &part->finalProgram,
                                         &part->registry.sprite.clipProgram, &part->objectProgram})
        EXPECT_TRUE(linked(*program));
    EXPECT_EQ(log->find("rror"), std::string::npos) << "a shader build log reports an error";
}

// A frame of the replayed stretch through both passes: warm, grainy, darker
// at the corners. The draw leaves the raw time behind.
void checkDrawsAFrameThroughThePasses(Part_Clips* part) {
    LiveInputs& live = appState.live;
    live._kz = -1;
    live.frameTime = 0;
    part->time = 150.0f;
    part->update();
    EXPECT_NEAR(part->sceneTime, 150.0f, 1e-5f);  // the map is filled by the first draw
    part->draw();
    EXPECT_FLOAT_EQ(part->time, 150.0f);
    part->update();
    EXPECT_NEAR(part->sceneTime, 143.1f, 0.05f);
    EXPECT_EQ(part->timeFlag, 1);
    part->draw();
    EXPECT_FLOAT_EQ(part->time, 150.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    cv::Mat frame = readShowFrame();
    cv::imwrite(std::string(TORVANEL_BINARY_DIR) + "/show_frame_150.png", frame);
    cv::Scalar middle = cv::mean(frame(cv::Rect(540, 310, 200, 100)));
    cv::Scalar corner = cv::mean(frame(cv::Rect(0, 0, 80, 60)));
    EXPECT_GT(middle[2], middle[0]);  // warm: more red than blue
    EXPECT_GT(middle[2], 8.0);
    EXPECT_LT(corner[2], middle[2]);  // vignetted
    cv::Mat grey;
    cv::cvtColor(frame(cv::Rect(540, 310, 200, 100)), grey, cv::COLOR_BGR2GRAY);
    cv::Scalar mean, deviation;
    cv::meanStdDev(grey, mean, deviation);
    EXPECT_GT(deviation[0], 0.5);  // grain
}

// A made-up collage through the real passes: a backdrop, a cut-out in front,
// a shattered cut-out and the walking figure drawn into a mesh target and
// composited as a cut-out, at a scene time whose camera looks at them.
void checkComposesCutOutsAndAFigureThroughThePasses(Part_Clips* part) {
    part->time = 60.0f;
    part->rawTime = 60.0f;
    part->sceneTime = 60.0f;
    part->timeFlag = 0;
    TextureRegistry& registry = part->registry;
    registry.sprite.ttime = 60.0f;
    registry.sprite.ittime = 60.0f;
    registry.sprite.Mode = 1;

    RenderTarget& meshTarget = appState.targets[TARGET_SCENE_3];
    const MeshFrame& walking = part->walk4502.frames[20];
    part->objectProgram.use();
    part->objectProgram.setFloat("ttime", 60.0f);
    glMatrixMode(GL_MODELVIEW);  // the camera's push and the pop below use this stack
    meshCamera();
    drawMeshFrame(true, meshTarget, part->objectProgram, walking.texture, walking.displayList,
                  registry.sprite.paperTexture.id);
    glPopMatrix();

    placeClipsCamera(*part);
    RenderTarget& scene = appState.targets[TARGET_SCENE_1];
    scene.attach(3);
    scene.bind(3);
    glViewport(0, 0, scene.width, scene.height);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_MODELVIEW);
    auto place = [](float x, float y, float z, float size) {
        glPushMatrix();
        glTranslatef(x, y, z);
        glScalef(size, size, size);
    };
    place(0, 0.1f, -1.2f, 1.9f);
    registry.sprite.ObjectType = 0;
    registry.find("stage")->draw();
    glPopMatrix();
    place(-1.15f, -0.55f, 0.4f, 0.4f);
    registry.sprite.ObjectType = 8;
    registry.find("skull")->draw();
    glPopMatrix();
    place(1.2f, 0.75f, 0.2f, 0.3f);
    registry.sprite.ObjectType = 1;
    registry.find("moon")->shatter(0.45f);
    glPopMatrix();
    place(0.35f, -0.05f, 0.6f, 0.8f);
    glRotatef(180, 0, 0, 1);  // a render target's rows run bottom-up
    registry.sprite.ObjectType = 5;
    registry.drawScreen(meshTarget.colourTextures[0], 1);
    glPopMatrix();
    ShaderProgram::unuse();
    glDisable(GL_BLEND);
    scene.resolve(3);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    postProcessPass(*part);
    finalPass(*part);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    cv::Mat frame = readShowFrame();
    cv::imwrite(std::string(TORVANEL_BINARY_DIR) + "/show_collage_frame.png", frame);
    cv::Mat grey;
    cv::cvtColor(frame, grey, cv::COLOR_BGR2GRAY);
    cv::Scalar mean, deviation;
    cv::meanStdDev(grey, mean, deviation);
    EXPECT_GT(mean[0], 40.0);       // the backdrop fills the frame
    EXPECT_GT(deviation[0], 20.0);  // with pictures on it, not a flat field
}

// Holding Space rebuilds every program from its file on each frame.
void checkSpaceRebuildsTheShaders(Part_Clips* part) {
    LiveInputs& live = appState.live;
    live.frameTime = 0;
    part->time = 20.0f;
    part->update();
    live.keys[SDL_SCANCODE_SPACE] = true;
    testing::internal::CaptureStdout();
    part->draw();
    std::string rebuilt = testing::internal::GetCapturedStdout();
    live.keys[SDL_SCANCODE_SPACE] = false;
    for (const char* stage : {"f_simpleblur.cpp", "f_postprocess_clips.cpp", "f_final_clips.cpp", "f_clip.cpp",
                              "f_object.cpp"})
        EXPECT_NE(rebuilt.find(stage), std::string::npos) << stage;
    testing::internal::CaptureStdout();
    part->update();
    part->draw();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

void checkEndsAtSceneTime273(Part_Clips* part) {
    LiveInputs& live = appState.live;
    live.frameTime = 0;
    part->time = 278.56f;
    part->update();
    part->draw();
    EXPECT_LT(part->time, 278.57f);
    part->time = 278.57f;
    part->update();
    EXPECT_GE(part->sceneTime, 273.0f);
    EXPECT_EXIT(part->draw(), ::testing::ExitedWithCode(0), "");
}

class ShowSetup : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        testing::internal::CaptureStdout();
        bool opened = openShowWindow(1280, 720);
        testing::internal::GetCapturedStdout();
        if (!opened) return;
        part = newShowPart();
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        part->init();
        log = new std::string(testing::internal::GetCapturedStdout());
        errors = new std::string(testing::internal::GetCapturedStderr());
        FILE* kept = fopen((std::string(TORVANEL_BINARY_DIR) + "/show_setup.log").c_str(), "w");
        if (kept) {
            fputs(log->c_str(), kept);
            fclose(kept);
        }
    }
    void SetUp() override {
        if (!part) GTEST_SKIP() << "no show window";
    }
    static Part_Clips* part;
    static std::string* log;
    static std::string* errors;
};
Part_Clips* ShowSetup::part = nullptr;
std::string* ShowSetup::log = nullptr;
std::string* ShowSetup::errors = nullptr;

}  // namespace

// Set-up is the slow part, so each test loads the show once and checks a group.
TEST_F(ShowSetup, LoadsTheWholeShow) {
    checkLoadsEverythingWithoutAMissingFile(part, log, errors);
    checkRegistersTheImagesInOrder(part);
    checkParallelPicturesMatchOneByOne(part);
    checkPaperClampsAndPatternsRepeat(part);
    checkLoadsSixFigureSequencesWithPictures(part);
    checkBuildsTheFivePrograms(part, log);
}

TEST_F(ShowSetup, DrawsFramesThroughThePasses) {
    checkDrawsAFrameThroughThePasses(part);
    checkComposesCutOutsAndAFigureThroughThePasses(part);
    checkSpaceRebuildsTheShaders(part);
    checkEndsAtSceneTime273(part);
}
