#include "key.h"
#include "look.h"
#include "svg.h"

#include <gtest/gtest.h>

#include <fstream>

static bool keyLike(cv::Vec3b p) { return p[1] > 200 && p[0] < 70 && p[2] < 70; }

class SvgCutTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = ::testing::TempDir();
        std::ofstream(dir + "/two.svg")
            << "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\" "
               "viewBox=\"0 0 100 100\" preserveAspectRatio=\"none\">"
               "<rect id=\"path1\" x=\"50\" y=\"0\" width=\"50\" height=\"50\" fill=\"#ff0000\"/>"
               "<rect id=\"path9\" x=\"0\" y=\"50\" width=\"50\" height=\"50\" fill=\"#0000ff\"/></svg>";
    }
    std::string dir;
};

TEST_F(SvgCutTest, CropBoxFillsTheSurface) {
    SvgCut cut;
    cut.path = "two.svg";
    cut.box[0] = 50, cut.box[1] = 0, cut.box[2] = 50, cut.box[3] = 25;
    cv::Mat m = renderSvg(dir, cut, 64);
    ASSERT_EQ(m.size(), cv::Size(64, 32));
    for (cv::Point p : {cv::Point(1, 1), cv::Point(62, 30)}) EXPECT_EQ(m.at<cv::Vec4b>(p), cv::Vec4b(0, 0, 255, 255));
}

TEST_F(SvgCutTest, KeepRangeAndElement) {
    SvgCut cut;
    cut.path = "two.svg";
    cut.box[2] = cut.box[3] = 100;
    cut.keepFrom = cut.keepTo = 1;
    cv::Mat kept = renderSvg(dir, cut, 100);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept.at<cv::Vec4b>(75, 25)[3], 0) << "path9 is outside the kept range";
    EXPECT_EQ(kept.at<cv::Vec4b>(25, 75)[3], 255);

    SvgCut only;
    only.path = "two.svg";
    only.element = "path9";
    cv::Mat blue = renderSvg(dir, only, 40);
    ASSERT_EQ(blue.size(), cv::Size(40, 40));
    EXPECT_EQ(blue.at<cv::Vec4b>(20, 20), cv::Vec4b(255, 0, 0, 255));
    only.element = "nothing";
    EXPECT_TRUE(renderSvg(dir, only, 40).empty());
}

static const Print kPrint{7, 1.0f, Accent::None, Holes::FillSmall, false};

// Even a drawing that is itself key green comes out distinguishable from
// the key, on a key border, in sizes the loader keeps.
TEST(LookTest, CutOutKeepsTheKeyForTheBackground) {
    cv::Mat drawing(101, 77, CV_8UC4, cv::Scalar(0, 0, 0, 0));
    drawing(cv::Rect(20, 20, 40, 60)).setTo(cv::Scalar(0, 255, 0, 255));
    cv::Mat out = cutOut(drawing, kPrint);
    EXPECT_EQ(out.cols % 4, 0);
    EXPECT_EQ(out.rows % 4, 0);
    int whole = 0;
    for (int y = 0; y < out.rows; ++y)
        for (int x = 0; x < out.cols; ++x) {
            cv::Vec3b p = out.at<cv::Vec3b>(y, x);
            bool edge = x == 0 || y == 0 || x == out.cols - 1 || y == out.rows - 1;
            if (edge) {
                EXPECT_EQ(p, kKeyColour);
            }
            if (keyCoverage(p) < 1.0f) continue;
            ++whole;
            EXPECT_LE(p[1], std::max(p[0], p[2]) + kInkGreen * 255.0f + 1.0f) << x << "," << y;
        }
    EXPECT_GT(whole, 40 * 60);
    EXPECT_EQ(keyCoverage(out.at<cv::Vec3b>(out.rows / 2, out.cols / 2)), 1.0f);
}

TEST(LookTest, WholePictureHasNoKey) {
    cv::Mat green(64, 64, CV_8UC3, cv::Scalar(0, 255, 0));
    cv::Mat out = wholePicture(green, kPrint);
    for (int y = 0; y < out.rows; ++y)
        for (int x = 0; x < out.cols; ++x) {
            EXPECT_FALSE(keyLike(out.at<cv::Vec3b>(y, x)));
        }
}

// A picture drawn side by side with itself runs on across the seam: its
// right column continues into its left as smoothly as any two neighbours.
TEST(LookTest, RepeatingPictureHasNoSeam) {
    cv::Mat grey(128, 128, CV_8UC3);
    for (int y = 0; y < grey.rows; ++y)
        for (int x = 0; x < grey.cols; ++x) grey.at<cv::Vec3b>(y, x) = cv::Vec3b(110, 120, 130);
    Print tiled = kPrint;
    tiled.repeats = true;
    tiled.scale = 1.7f;
    cv::Mat out = wholePicture(grey, tiled);
    auto step = [&](int x0, int x1) {
        double sum = 0;
        for (int y = 0; y < out.rows; ++y) sum += cv::norm(cv::Vec3d(out.at<cv::Vec3b>(y, x0)) - cv::Vec3d(out.at<cv::Vec3b>(y, x1)));
        return sum / out.rows;
    };
    double inner = 0;
    for (int x = 0; x + 1 < out.cols; ++x) inner += step(x, x + 1) / (out.cols - 1);
    EXPECT_LT(step(out.cols - 1, 0), inner * 1.5);
}
