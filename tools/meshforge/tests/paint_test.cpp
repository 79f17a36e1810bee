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

// The face lands where the head's mesh puts the front of the face: the
// picture under the rest head's eyes, brows and mouth holds ink, under its
// cheeks and forehead plain skin, on both figures. A picture laid out with
// another angle round the head than its mesh prints the face on an ear.
TEST(Paint, FaceLandsOnTheFrontOfTheHead) {
    for (const Body& body : {walkerBody(), secondBody()}) {
        FigureMesh mesh = buildFigure(body);
        cv::Mat canvas = paintFigure(mesh, body);
        float h = body.height, k = body.bulk * body.height;
        // The darkest and the mean texel round the point of the picture that
        // the mesh maps to the front-view point (x, y) mm, through the uvs of
        // the foremost triangle over it, as the rasteriser would.
        auto lookAt = [&](float x, float y, float* darkest, float* mean) {
            float front = -1e9f, u = -1, v = -1;
            const float* r = mesh.rest.data();
            for (size_t t = 0; t < mesh.index.size(); t += 3) {
                const uint32_t* i = &mesh.index[t];
                float ax = r[i[0] * 3], ay = r[i[0] * 3 + 1], bx = r[i[1] * 3], by = r[i[1] * 3 + 1];
                float cx = r[i[2] * 3], cy = r[i[2] * 3 + 1];
                float area = (bx - ax) * (cy - ay) - (cx - ax) * (by - ay);
                if (std::fabs(area) < 1e-6f) continue;
                float wb = ((x - ax) * (cy - ay) - (cx - ax) * (y - ay)) / area;
                float wc = ((bx - ax) * (y - ay) - (x - ax) * (by - ay)) / area, wa = 1 - wb - wc;
                if (wa < 0 || wb < 0 || wc < 0) continue;
                float z = wa * r[i[0] * 3 + 2] + wb * r[i[1] * 3 + 2] + wc * r[i[2] * 3 + 2];
                if (z <= front) continue;
                front = z;
                u = wa * mesh.uv[i[0] * 2] + wb * mesh.uv[i[1] * 2] + wc * mesh.uv[i[2] * 2];
                v = wa * mesh.uv[i[0] * 2 + 1] + wb * mesh.uv[i[1] * 2 + 1] + wc * mesh.uv[i[2] * 2 + 1];
            }
            ASSERT_GE(u, 0);
            int cx = int(u * canvas.cols), cy = int(v * canvas.rows);
            *darkest = 1;
            *mean = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    cv::Vec3f c = canvas.at<cv::Vec3f>(cy + dy, cx + dx);
                    float grey = (c[0] + c[1] + c[2]) / 3;
                    *darkest = std::min(*darkest, grey);
                    *mean += grey / 9;
                }
        };
        float skin = (body.skin[0] + body.skin[1] + body.skin[2]) / 3, darkest, mean;
        for (float side : {-1.0f, 1.0f}) {
            lookAt(side * 31 * k, 1600 * h, &darkest, &mean);  // the pupil
            EXPECT_LT(darkest, 0.2f) << "eye " << side;
            lookAt(side * 29 * k, 1618 * h, &darkest, &mean);  // the brow
            EXPECT_LT(darkest, 0.2f) << "brow " << side;
            lookAt(side * 48 * k, 1560 * h, &darkest, &mean);  // the cheek
            EXPECT_GT(darkest, skin * 0.8f) << "cheek " << side;
        }
        lookAt(0, 1537.5f * h, &darkest, &mean);  // the parting of the lips
        EXPECT_LT(darkest, 0.2f) << "mouth";
        lookAt(0, 1640 * h, &darkest, &mean);  // the forehead
        EXPECT_GT(darkest, skin * 0.8f) << "forehead";
        EXPECT_NEAR(mean, skin, 0.08f) << "forehead";
    }
}
