#include "show/part_loader.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <string>

#include "app/app_state.h"

// The loading screen drawn into a real show window and read back, in the two
// 16:9 windows viewers pick most. The square field of view stretches the quad
// to the window's shape and places it low; the forge authors the picture for
// that, so what is lit sits in the middle of the window on black, and no edge
// of the quad shows. Each frame is kept as loading_screen_WxH.png for a look.
class LoadingScreen : public ::testing::TestWithParam<cv::Size> {};

TEST_P(LoadingScreen, PictureSitsInTheMiddleOnBlack) {
    const int width = GetParam().width, height = GetParam().height;
    const char* picturePath = "Resources/demoresources/torvanel_loader.png";
    cv::Mat source = cv::imread(picturePath);
    if (source.empty()) GTEST_SKIP() << "the forge has not written " << picturePath;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) GTEST_SKIP() << "no display: " << SDL_GetError();

    AppState state;
    testing::internal::CaptureStdout();
    state.window.Init(0, 0, width, height, false);
    testing::internal::GetCapturedStdout();
    ASSERT_NE(state.window.context, nullptr);

    PartApp view;
    view.width = width;
    view.height = height;
    Part_Loader* loader = newZeroedPart<Part_Loader>();
    loader->app = &view;
    loader->live = &state.live;
    testing::internal::CaptureStdout();
    loader->init();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Reading... Resources//demoresources//torvanel_loader.png\n");
    ASSERT_TRUE(loader->picture.loaded);

    loader->draw();
    cv::Mat frame(height, width, CV_8UC3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, frame.data);
    cv::flip(frame, frame, 0);
    cv::imwrite(std::string(TORVANEL_BINARY_DIR) + "/loading_screen_" + std::to_string(width) + "x" +
                    std::to_string(height) + ".png",
                frame);

    // The quad spans 11.6 % to 88.4 % of the width and from 23 % of the height
    // down to the bottom row; its black ground adds nothing to the black clear.
    cv::Mat grey, lit;
    cv::cvtColor(frame, grey, cv::COLOR_BGR2GRAY);
    lit = grey > 8;
    cv::Rect quadEdge(width * 116 / 1000, height * 232 / 1000, width * 768 / 1000, height * 766 / 1000);
    cv::Mat inner = cv::Mat::zeros(lit.size(), CV_8U);
    cv::rectangle(inner, quadEdge, cv::Scalar(255), cv::FILLED);
    cv::rectangle(inner, quadEdge, cv::Scalar(0), height / 20);
    EXPECT_EQ(cv::countNonZero(lit & ~inner), 0) << "lit pixels on or outside the quad's edge";
    EXPECT_EQ(cv::countNonZero(lit.rowRange(height * 9 / 10, height)), 0) << "the picture runs off the bottom";

    cv::Rect box = cv::boundingRect(lit);
    ASSERT_GT(box.area(), 0);
    EXPECT_NEAR(box.x + box.width / 2.0, width / 2.0, width * 0.03);
    EXPECT_NEAR(box.y + box.height / 2.0, height / 2.0, height * 0.05);
    EXPECT_GT(box.height, height / 3);
    cv::Scalar middle = cv::mean(frame(cv::Rect(width / 3, height / 4, width / 3, height / 2)));
    EXPECT_GT(middle[0] + middle[1] + middle[2], 30.0);

    loader->~Part_Loader();
    free(loader);
    SDL_GL_DeleteContext(state.window.context);
    SDL_DestroyWindow(state.window.window);
}

INSTANTIATE_TEST_SUITE_P(Windows, LoadingScreen, ::testing::Values(cv::Size(1280, 720), cv::Size(1920, 1080)),
                         [](const ::testing::TestParamInfo<cv::Size>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });
