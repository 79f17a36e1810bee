#include "render/dxt1.h"

#include <algorithm>

size_t dxt1Size(int width, int height) { return size_t((width + 3) / 4) * size_t((height + 3) / 4) * 8; }

static uint16_t to565(int r, int g, int b) {
    return uint16_t((r * 31 + 127) / 255 << 11 | (g * 63 + 127) / 255 << 5 | (b * 31 + 127) / 255);
}

static void from565(uint16_t c, int rgb[3]) {
    int r = c >> 11, g = (c >> 5) & 63, b = c & 31;
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 2) | (g >> 4);
    rgb[2] = (b << 3) | (b >> 2);
}

// One block: 16 pixels, each channel in a row of its own (R, G, B), so the
// loops over the pixels run as vector code.
static void encodeBlock(const int32_t pixels[3][16], uint8_t* out) {
    int low[3], high[3], mean[3];
    for (int c = 0; c < 3; c++) {
        int lo = 255, hi = 0, sum = 0;
        for (int p = 0; p < 16; p++) {
            lo = std::min(lo, pixels[c][p]);
            hi = std::max(hi, pixels[c][p]);
            sum += pixels[c][p];
        }
        // Pulling the box in by a sixteenth of its size keeps the two end
        // colours off the outliers, which lowers the error of everything between.
        int inset = (hi - lo) / 16;
        low[c] = lo + inset;
        high[c] = hi - inset;
        mean[c] = sum;
    }
    // The end colours sit on one of the box's four diagonals: a channel that
    // falls while the widest one rises takes its ends swapped.
    int widest = 0;
    for (int c = 1; c < 3; c++)
        if (high[c] - low[c] > high[widest] - low[widest]) widest = c;
    for (int c = 0; c < 3; c++) {
        if (c == widest) continue;
        int covariance = 0;
        for (int p = 0; p < 16; p++)
            covariance += (16 * pixels[widest][p] - mean[widest]) * (16 * pixels[c][p] - mean[c]) / 16;
        if (covariance < 0) std::swap(low[c], high[c]);
    }
    uint16_t c0 = to565(high[0], high[1], high[2]), c1 = to565(low[0], low[1], low[2]);
    if (c0 < c1) std::swap(c0, c1);
    uint32_t indices = 0;
    if (c0 != c1) {  // c0 > c1: the four-colour mode
        int a[3], b[3], palette[4][3];
        from565(c0, a);
        from565(c1, b);
        for (int c = 0; c < 3; c++) {
            palette[0][c] = a[c];
            palette[1][c] = b[c];
            palette[2][c] = (2 * a[c] + b[c]) / 3;
            palette[3][c] = (a[c] + 2 * b[c]) / 3;
        }
        // Each pixel takes the nearest colour, the first of equals.
        int32_t best[16];
        for (int p = 0; p < 16; p++) {
            int32_t error[4];
            for (int k = 0; k < 4; k++) {
                int32_t dr = pixels[0][p] - palette[k][0], dg = pixels[1][p] - palette[k][1],
                        db = pixels[2][p] - palette[k][2];
                error[k] = dr * dr + dg * dg + db * db;
            }
            int32_t pick = 0, least = error[0];
            for (int k = 1; k < 4; k++) {
                bool closer = error[k] < least;
                pick = closer ? k : pick;
                least = closer ? error[k] : least;
            }
            best[p] = pick;
        }
        for (int p = 0; p < 16; p++) indices |= uint32_t(best[p]) << (2 * p);
    }
    out[0] = uint8_t(c0);
    out[1] = uint8_t(c0 >> 8);
    out[2] = uint8_t(c1);
    out[3] = uint8_t(c1 >> 8);
    for (int k = 0; k < 4; k++) out[4 + k] = uint8_t(indices >> (8 * k));
}

std::vector<uint8_t> encodeDxt1(const cv::Mat& bgr) {
    int width = bgr.cols, height = bgr.rows;
    std::vector<uint8_t> blocks(dxt1Size(width, height));
    uint8_t* out = blocks.data();
    int32_t pixels[3][16];
    for (int by = 0; by < height; by += 4) {
        const uint8_t* rows[4];
        for (int j = 0; j < 4; j++) rows[j] = bgr.ptr<uint8_t>(std::min(by + j, height - 1));
        for (int bx = 0; bx < width; bx += 4) {
            for (int p = 0; p < 16; p++) {
                const uint8_t* px = rows[p / 4] + 3 * std::min(bx + p % 4, width - 1);
                pixels[0][p] = px[2];
                pixels[1][p] = px[1];
                pixels[2][p] = px[0];
            }
            encodeBlock(pixels, out);
            out += 8;
        }
    }
    return blocks;
}

cv::Mat decodeDxt1(const std::vector<uint8_t>& blocks, int width, int height) {
    cv::Mat bgr(height, width, CV_8UC3);
    const uint8_t* in = blocks.data();
    for (int by = 0; by < height; by += 4)
        for (int bx = 0; bx < width; bx += 4, in += 8) {
            uint16_t c0 = uint16_t(in[0] | in[1] << 8), c1 = uint16_t(in[2] | in[3] << 8);
            uint32_t indices = uint32_t(in[4]) | uint32_t(in[5]) << 8 | uint32_t(in[6]) << 16 | uint32_t(in[7]) << 24;
            int a[3], b[3], palette[4][3];
            from565(c0, a);
            from565(c1, b);
            for (int c = 0; c < 3; c++) {
                palette[0][c] = a[c];
                palette[1][c] = b[c];
                palette[2][c] = c0 > c1 ? (2 * a[c] + b[c]) / 3 : (a[c] + b[c]) / 2;
                palette[3][c] = c0 > c1 ? (a[c] + 2 * b[c]) / 3 : 0;
            }
            for (int p = 0; p < 16; p++) {
                int x = bx + p % 4, y = by + p / 4;
                if (x >= width || y >= height) continue;
                const int* rgb = palette[(indices >> (2 * p)) & 3];
                uint8_t* px = bgr.ptr<uint8_t>(y) + 3 * x;
                px[0] = uint8_t(rgb[2]);
                px[1] = uint8_t(rgb[1]);
                px[2] = uint8_t(rgb[0]);
            }
        }
    return bgr;
}
