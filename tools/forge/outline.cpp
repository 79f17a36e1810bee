#include "outline.h"

#include "palette.h"

#include <opencv2/imgproc.hpp>

#include <vector>

static float toneOf(cv::Vec4b p) {
    float a = p[3] / 255.0f;
    cv::Vec3f c(p[0], p[1], p[2]);
    return luma(c / 255.0f * a + cv::Vec3f(1, 1, 1) * (1.0f - a));
}

// How many texels deep the dark band along the shape's edge runs; 0 when
// the edge is no darker than what lies inside.
static int outlineWidth(const cv::Mat& drawing, const cv::Mat& inside) {
    const int bands = 14;
    std::vector<double> sum(bands, 0.0), count(bands, 0.0);
    double coreSum = 0, coreCount = 0;
    for (int y = 0; y < drawing.rows; ++y)
        for (int x = 0; x < drawing.cols; ++x) {
            float d = inside.at<float>(y, x);
            if (d <= 0) continue;
            float tone = toneOf(drawing.at<cv::Vec4b>(y, x));
            int band = static_cast<int>(d);
            if (band < bands) {
                sum[band] += tone;
                count[band] += 1;
            } else if (band < 4 * bands) {
                coreSum += tone;
                coreCount += 1;
            }
        }
    if (coreCount < 200 || count[0] + count[1] < 50) return 0;
    double edge = (sum[0] + sum[1]) / (count[0] + count[1]), core = coreSum / coreCount;
    if (edge > 0.3 || core - edge < 0.2) return 0;
    int width = 0;
    while (width < bands && count[width] > 0 && sum[width] / count[width] < (edge + core) / 2) ++width;
    return width < bands ? width : 0;
}

cv::Mat withoutOutline(const cv::Mat& drawing, const cv::Mat& inside) {
    int width = outlineWidth(drawing, inside);
    if (width == 0) return drawing;
    cv::Mat core = inside > width + 1.0f;
    if (cv::countNonZero(core) == 0) return drawing;
    // every texel learns which core texel is nearest; each core texel is its own label
    cv::Mat dist, labels;
    cv::distanceTransform(~core, dist, labels, cv::DIST_L2, cv::DIST_MASK_5, cv::DIST_LABEL_PIXEL);
    double maxLabel = 0;
    cv::minMaxLoc(labels, nullptr, &maxLabel);
    std::vector<cv::Vec3b> colourOf(static_cast<size_t>(maxLabel) + 1);
    for (int y = 0; y < drawing.rows; ++y)
        for (int x = 0; x < drawing.cols; ++x) {
            if (!core.at<uchar>(y, x)) continue;
            cv::Vec4b p = drawing.at<cv::Vec4b>(y, x);  // laid on white, as the look lays it on paper
            int a = p[3];
            colourOf[labels.at<int>(y, x)] = cv::Vec3b(static_cast<uchar>((p[0] * a + 255 * (255 - a)) / 255),
                                                        static_cast<uchar>((p[1] * a + 255 * (255 - a)) / 255),
                                                        static_cast<uchar>((p[2] * a + 255 * (255 - a)) / 255));
        }
    cv::Mat out = drawing.clone();
    for (int y = 0; y < drawing.rows; ++y)
        for (int x = 0; x < drawing.cols; ++x) {
            float d = inside.at<float>(y, x);
            if (d <= 0 || core.at<uchar>(y, x)) continue;
            cv::Vec3b c = colourOf[labels.at<int>(y, x)];
            cv::Vec4b& o = out.at<cv::Vec4b>(y, x);
            o = cv::Vec4b(c[0], c[1], c[2], o[3]);
        }
    return out;
}
