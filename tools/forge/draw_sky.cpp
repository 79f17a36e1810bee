// Clouds as an engraver draws them: round billows heaped on a flat base, lit
// from the upper left, darker underneath; no outline round each puff.
#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

struct Heap {
    int rows[6];   // billows in each row, from the base up; 0 ends the heap
    float spread;  // how much of the base the upper rows cover, 0..1
    float lean;    // where the upper rows sit, -1 left .. 1 right
    float jitter;  // how far billows stray from their places, in base radii
};

// The canvas is as tall as the heap; the base row spans most of its width,
// each billow overlapping the next by a quarter.
static cv::Mat cumulus(int width, const Heap& heap, uint32_t seed) {
    cv::RNG rng(seed);
    int rows = 0;
    while (rows < 6 && heap.rows[rows] > 0) ++rows;
    float w = static_cast<float>(width), span = 0.74f * w;
    float r0 = span / std::max(1, heap.rows[0] - 1) * 0.64f;
    auto rise = [](int row) { return 0.45f + 0.75f * row; };
    float base = (rise(rows - 1) + 1.1f) * r0 + 4.0f;
    cv::Mat m = transparentCanvas(width, static_cast<int>(base + 0.03f * w));
    for (int row = rows - 1; row >= 0; --row) {  // back to front: the base row last, over the others
        int n = heap.rows[row];
        float reach = row == 0 ? span : span * heap.spread * (1.0f - 0.15f * row);
        float middle = 0.5f * w + (row == 0 ? 0.0f : heap.lean * 0.1f * w * row);
        for (int i = 0; i < n; ++i) {
            float s = n == 1 ? 0.5f : static_cast<float>(i) / (n - 1);
            float x = middle + (s - 0.5f) * reach + static_cast<float>(rng.uniform(-1.0, 1.0)) * heap.jitter * r0;
            float r = r0 * (row == 1 ? 1.12f : 1.0f - 0.03f * row) * (1.0f - 0.25f * std::abs(s - 0.5f)) *
                      static_cast<float>(rng.uniform(1.0 - heap.jitter, 1.0 + heap.jitter));
            float y = base - rise(row) * r0 + static_cast<float>(rng.uniform(-1.0, 1.0)) * heap.jitter * r0;
            shadedBall(m, cv::Point2f(x, std::max(y, r + 2.0f)), r, 1.0f, 0.74f);
        }
    }
    // the flat underside: cut straight, in its own shade
    for (int y = 0; y < m.rows; ++y)
        for (int x = 0; x < m.cols; ++x) {
            cv::Vec4b& p = m.at<cv::Vec4b>(y, x);
            float below = (y + 0.5f - base) / 1.5f;
            if (below > 0) p[3] = static_cast<uchar>(p[3] * std::max(0.0f, 1.0f - below));
            float shade = std::clamp((y - (base - 0.6f * r0)) / (0.6f * r0), 0.0f, 1.0f);
            for (int k = 0; k < 3; ++k) p[k] = static_cast<uchar>(p[k] * (1.0f - 0.2f * shade));
        }
    return m;
}

cv::Mat drawCloud1(const DrawContext& c) { return cumulus(c.size, {{6, 4, 2}, 0.9f, -0.4f, 0.08f}, c.seed); }
cv::Mat drawCloud2(const DrawContext& c) { return cumulus(c.size, {{4, 3, 2}, 0.8f, 0.3f, 0.08f}, c.seed); }
cv::Mat drawCloud3(const DrawContext& c) { return cumulus(c.size, {{4, 2, 1}, 0.7f, 0.0f, 0.08f}, c.seed); }
cv::Mat drawCloud4(const DrawContext& c) { return cumulus(c.size, {{5, 3, 2}, 0.85f, 0.8f, 0.08f}, c.seed); }

// A bank of cloud for the sky behind the end of the ascent: billows heaped
// row on row over the whole sheet, their tops just inside its upper edge, so
// the three banks the show lays side by side fill the sky between them.
cv::Mat drawCloudBank(const DrawContext& c) {
    int w = c.size, h = c.size * 2 / 3;
    cv::Mat m = transparentCanvas(w, h);
    cv::RNG rng(c.seed);
    float r = h / 9.0f;
    struct Billow {
        cv::Point2f at;
        float r;
    };
    std::vector<Billow> billows;
    for (float x = 0; x < w + r; x += 1.1f * r)  // the top edge
        billows.push_back({cv::Point2f(x + static_cast<float>(rng.uniform(-0.3, 0.3)) * r, r * static_cast<float>(rng.uniform(0.95, 1.3))),
                           r * static_cast<float>(rng.uniform(0.8, 1.2))});
    for (int i = 0; i < 60; ++i)  // heaped below it, big and small
        billows.push_back({cv::Point2f(static_cast<float>(rng.uniform(0.0, 1.0)) * w, static_cast<float>(rng.uniform(1.5, 9.5)) * r),
                           r * static_cast<float>(rng.uniform(0.9, 2.2))});
    cv::rectangle(m, cv::Point2f(0, 1.2f * r), cv::Point2f(static_cast<float>(w), static_cast<float>(h)), grey(0.7), cv::FILLED);  // the body
    std::stable_sort(billows.begin(), billows.end(), [](const Billow& a, const Billow& b) { return a.at.y < b.at.y; });
    for (const Billow& b : billows) {  // lower billows in front; the bank darkens towards its foot
        float foot = b.at.y / h;
        shadedBall(m, b.at, b.r, 1.0f - 0.15f * foot, 0.68f - 0.12f * foot);
    }
    return m;
}
