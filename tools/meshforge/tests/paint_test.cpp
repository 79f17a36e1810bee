#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "figure.h"
#include "paint.h"

// Printed, not modelled: nearly every texel of the picture is one of the
// body's few flat colours or the ink, give or take the paper's unevenness;
// the ink is there, as lines, not as shading laid over everything.
TEST(Paint, PictureIsPrintedInAFewFlatColoursAndInk) {
    for (const Body& body : {walkerBody(), secondBody()}) {
        cv::Mat canvas = paintFigure(buildFigure(body), body);
        ASSERT_EQ(canvas.cols, FIGURE_PICTURE_WIDTH);
        ASSERT_EQ(canvas.rows, FIGURE_PICTURE_HEIGHT);
        const cv::Vec3f ink(0.10f, 0.08f, 0.09f);
        const cv::Vec3f palette[] = {{body.skin[0], body.skin[1], body.skin[2]},
                                     {body.suit[0], body.suit[1], body.suit[2]},
                                     {body.trim[0], body.trim[1], body.trim[2]},
                                     {body.hair[0], body.hair[1], body.hair[2]},
                                     ink};
        auto near = [](cv::Vec3f a, cv::Vec3f b) {
            return std::max({std::fabs(a[0] - b[0]), std::fabs(a[1] - b[1]), std::fabs(a[2] - b[2])}) < 0.08f;
        };
        size_t flat = 0, inked = 0, total = size_t(canvas.rows) * canvas.cols;
        for (int y = 0; y < canvas.rows; ++y)
            for (int x = 0; x < canvas.cols; ++x) {
                cv::Vec3f c = canvas.at<cv::Vec3f>(y, x);
                flat += std::any_of(std::begin(palette), std::end(palette), [&](cv::Vec3f p) { return near(c, p); });
                inked += near(c, ink);
            }
        EXPECT_GT(double(flat) / total, 0.9);
        EXPECT_GT(double(inked) / total, 0.005);
        EXPECT_LT(double(inked) / total, 0.1);
    }
}
