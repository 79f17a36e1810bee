// Figure pictures compressed to DXT1: the picture as the driver samples it
// stays close to the original, and our decode agrees with the driver's.
#include "render/dxt1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <opencv2/imgproc.hpp>

#include "assets/mesh_sequence.h"
#include "render/texture.h"
#include "tests/support/gl_test_context.h"

namespace {

double psnr(const cv::Mat& a, const cv::Mat& b) {
    cv::Mat difference;
    cv::absdiff(a, b, difference);
    difference.convertTo(difference, CV_64F);
    double mse = cv::mean(difference.mul(difference))[0];
    return 10 * std::log10(255.0 * 255.0 / std::max(mse, 1e-9));
}

// A figure's painted picture as the forge writes it, or a stand-in with
// smooth shading, hatching and hard edges when the forge has not run.
cv::Mat figurePicture() {
    MeshFrame frame = loadMeshFrame(MeshSequence(), TORVANEL_SOURCE_DIR "/Resources/DemoQTR/walkingnude/04520.cor", true);
    if (!frame.picture.empty()) return frame.picture;
    cv::Mat picture(1024, 512, CV_8UC3);
    for (int y = 0; y < picture.rows; y++)
        for (int x = 0; x < picture.cols; x++)
            picture.at<cv::Vec3b>(y, x) = cv::Vec3b(uint8_t(60 + x / 4), uint8_t(90 + y / 8), uint8_t(150 + (x + y) % 7 * 10));
    for (int k = 0; k < 40; k++) cv::line(picture, {k * 13, 0}, {0, k * 13}, cv::Scalar(30, 40, 60), 2);
    return picture;
}

}  // namespace

TEST(Dxt1, FigurePicturesKeepTheirLook) {
    cv::Mat picture = figurePicture();
    std::vector<uint8_t> blocks = encodeDxt1(picture);
    ASSERT_EQ(blocks.size(), dxt1Size(picture.cols, picture.rows));
    EXPECT_EQ(blocks.size() * 6, picture.total() * 3);  // a sixth of the B, G, R bytes
    cv::Mat decoded = decodeDxt1(blocks, picture.cols, picture.rows);
    EXPECT_GT(psnr(picture, decoded), 32.0);
}

TEST(Dxt1, OddSidesRepeatTheirEdges) {
    cv::Mat picture(7, 5, CV_8UC3, cv::Scalar(10, 200, 40));
    picture.at<cv::Vec3b>(6, 4) = cv::Vec3b(250, 0, 0);
    std::vector<uint8_t> blocks = encodeDxt1(picture);
    EXPECT_EQ(blocks.size(), size_t(2 * 2 * 8));
    cv::Mat decoded = decodeDxt1(blocks, 5, 7);
    EXPECT_LT(cv::norm(decoded.at<cv::Vec3b>(0, 0), cv::Vec3b(10, 200, 40), cv::NORM_INF), 8);
    cv::Vec3b corner = decoded.at<cv::Vec3b>(6, 4);  // the one blue pixel stays blue
    EXPECT_GT(corner[0], 150);
    EXPECT_LT(corner[1], 100);
}

TEST_F(GLTest, DriverSamplesWhatWeDecode) {
    if (!GLEW_EXT_texture_compression_s3tc) GTEST_SKIP() << "no DXT1 in this driver";
    cv::Mat picture = figurePicture();
    std::vector<uint8_t> blocks = encodeDxt1(picture);
    Texture texture;
    uploadCompressedTexture(texture, blocks, picture.cols, picture.rows);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    cv::Mat sampled(picture.rows, picture.cols, CV_8UC3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, sampled.data);
    EXPECT_LE(cv::norm(sampled, decodeDxt1(blocks, picture.cols, picture.rows), cv::NORM_INF), 2);
    EXPECT_GT(psnr(picture, sampled), 32.0);
}
