#include "show/part_loader.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "app/app_state.h"

// The loading screen drawn into a real 1280 x 720 show window and read back:
// the forge's picture fills the middle, stretched by the square field of
// view, on black. The frame is kept as loading_screen.png for a look.
TEST(LoadingScreen, ShowsThePictureStretchedOnBlack) {
    const char* picturePath = "Resources/demoresources/torvanel_loader.png";
    cv::Mat source = cv::imread(picturePath);
    if (source.empty()) GTEST_SKIP() << "the forge has not written " << picturePath;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) GTEST_SKIP() << "no display: " << SDL_GetError();

    AppState state;
    testing::internal::CaptureStdout();
    state.window.Init(0, 0, 1280, 720, false);
    testing::internal::GetCapturedStdout();
    ASSERT_NE(state.window.context, nullptr);

    PartApp view;
    view.width = 1280;
    view.height = 720;
    Part_Loader* loader = newZeroedPart<Part_Loader>();
    loader->app = &view;
    loader->live = &state.live;
    testing::internal::CaptureStdout();
    loader->init();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Reading... Resources//demoresources//torvanel_loader.png\n");
    ASSERT_TRUE(loader->picture.loaded);

    loader->draw();
    cv::Mat frame(720, 1280, CV_8UC3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 1280, 720, GL_BGR, GL_UNSIGNED_BYTE, frame.data);
    cv::flip(frame, frame, 0);
    cv::imwrite(std::string(TORVANEL_BINARY_DIR) + "/loading_screen.png", frame);

    auto brightness = [&](int x, int y) { cv::Vec3b p = frame.at<cv::Vec3b>(y, x); return p[0] + p[1] + p[2]; };
    EXPECT_EQ(brightness(5, 5), 0);        // corners stay black
    EXPECT_EQ(brightness(1274, 714), 0);
    EXPECT_EQ(brightness(5, 360), 0);      // the picture does not reach the sides
    cv::Scalar middle = cv::mean(frame(cv::Rect(440, 200, 400, 300)));
    EXPECT_GT(middle[0] + middle[1] + middle[2], 30.0);

    loader->~Part_Loader();
    free(loader);
    SDL_GL_DeleteContext(state.window.context);
    SDL_DestroyWindow(state.window.window);
}
