#include "render/dxt1.h"

#include <emmintrin.h>

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

// A block's four colours as R, G, B: the two ends, then the two between them
// (c0 > c1), or their middle and black (c0 <= c1).
static void blockPalette(uint16_t c0, uint16_t c1, int palette[4][3]) {
    int a[3], b[3];
    from565(c0, a);
    from565(c1, b);
    for (int c = 0; c < 3; c++) {
        palette[0][c] = a[c];
        palette[1][c] = b[c];
        palette[2][c] = c0 > c1 ? (2 * a[c] + b[c]) / 3 : (a[c] + b[c]) / 2;
        palette[3][c] = c0 > c1 ? (a[c] + 2 * b[c]) / 3 : 0;
    }
}

// The encoder works on the 16 pixels of a block at once, in SSE2 (every
// x86-64 has it): each channel a row of 16 signed 16-bit values, two
// registers. The arithmetic is the scalar rule's, so the blocks are the same.
namespace {

struct Channel {
    __m128i low, high;  // pixels 0 to 7 and 8 to 15
};

int horizontalMin(__m128i v) {
    v = _mm_min_epi16(v, _mm_shuffle_epi32(v, 0x4e));
    v = _mm_min_epi16(v, _mm_shuffle_epi32(v, 0xb1));
    v = _mm_min_epi16(v, _mm_shufflelo_epi16(v, 0xb1));
    return int16_t(_mm_cvtsi128_si32(v));
}

int horizontalMax(__m128i v) {
    v = _mm_max_epi16(v, _mm_shuffle_epi32(v, 0x4e));
    v = _mm_max_epi16(v, _mm_shuffle_epi32(v, 0xb1));
    v = _mm_max_epi16(v, _mm_shufflelo_epi16(v, 0xb1));
    return int16_t(_mm_cvtsi128_si32(v));
}

int horizontalSum32(__m128i v) {
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, 0x4e));
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, 0xb1));
    return _mm_cvtsi128_si32(v);
}

// The sum over the 16 pixels of (a * b) / 16, each quotient truncated
// towards zero as C++ divides; a and b fit 16 bits, their product 32.
int sumOfProductsOver16(__m128i a, __m128i b) {
    __m128i low = _mm_mullo_epi16(a, b), high = _mm_mulhi_epi16(a, b);
    __m128i first = _mm_unpacklo_epi16(low, high), second = _mm_unpackhi_epi16(low, high);
    auto over16 = [](__m128i x) { return _mm_srai_epi32(_mm_add_epi32(x, _mm_srli_epi32(_mm_srai_epi32(x, 31), 28)), 4); };
    return horizontalSum32(_mm_add_epi32(over16(first), over16(second)));
}

// Squared distances of four pixels to one colour, from their per-channel
// differences (16-bit, lanes 0 to 3 of each argument's unpacked half).
__m128i squaredDistance(__m128i redGreen, __m128i blueZero) {
    return _mm_add_epi32(_mm_madd_epi16(redGreen, redGreen), _mm_madd_epi16(blueZero, blueZero));
}

void encodeBlock(const Channel pixels[3], uint8_t* out) {
    int low[3], high[3], mean[3];
    const __m128i ones = _mm_set1_epi16(1);
    for (int c = 0; c < 3; c++) {
        int lo = horizontalMin(_mm_min_epi16(pixels[c].low, pixels[c].high));
        int hi = horizontalMax(_mm_max_epi16(pixels[c].low, pixels[c].high));
        mean[c] = horizontalSum32(_mm_add_epi32(_mm_madd_epi16(pixels[c].low, ones), _mm_madd_epi16(pixels[c].high, ones)));
        // Pulling the box in by a sixteenth of its size keeps the two end
        // colours off the outliers, which lowers the error of everything between.
        int inset = (hi - lo) / 16;
        low[c] = lo + inset;
        high[c] = hi - inset;
    }
    // The end colours sit on one of the box's four diagonals: a channel that
    // falls while the widest one rises takes its ends swapped.
    int widest = 0;
    for (int c = 1; c < 3; c++)
        if (high[c] - low[c] > high[widest] - low[widest]) widest = c;
    auto centred = [&](int c, __m128i v) { return _mm_sub_epi16(_mm_slli_epi16(v, 4), _mm_set1_epi16(int16_t(mean[c]))); };
    for (int c = 0; c < 3; c++) {
        if (c == widest) continue;
        int covariance = sumOfProductsOver16(centred(widest, pixels[widest].low), centred(c, pixels[c].low)) +
                         sumOfProductsOver16(centred(widest, pixels[widest].high), centred(c, pixels[c].high));
        if (covariance < 0) std::swap(low[c], high[c]);
    }
    uint16_t c0 = to565(high[0], high[1], high[2]), c1 = to565(low[0], low[1], low[2]);
    if (c0 < c1) std::swap(c0, c1);
    uint32_t indices = 0;
    if (c0 != c1) {  // c0 > c1: the four-colour mode
        int palette[4][3];
        blockPalette(c0, c1, palette);
        // Each pixel takes the nearest colour, the first of equals: four
        // pixels at a time, their distances as 32-bit sums of squares.
        const __m128i zero = _mm_setzero_si128();
        for (int quarter = 0; quarter < 4; quarter++) {
            __m128i best = zero, least = zero;
            for (int k = 0; k < 4; k++) {
                __m128i d[3];
                for (int c = 0; c < 3; c++) {
                    const __m128i& half = quarter < 2 ? pixels[c].low : pixels[c].high;
                    d[c] = _mm_sub_epi16(half, _mm_set1_epi16(int16_t(palette[k][c])));
                }
                bool upper = quarter % 2 == 1;
                __m128i redGreen = upper ? _mm_unpackhi_epi16(d[0], d[1]) : _mm_unpacklo_epi16(d[0], d[1]);
                __m128i blueZero = upper ? _mm_unpackhi_epi16(d[2], zero) : _mm_unpacklo_epi16(d[2], zero);
                __m128i error = squaredDistance(redGreen, blueZero);
                if (k == 0) {
                    least = error;
                    continue;
                }
                __m128i closer = _mm_cmplt_epi32(error, least);
                best = _mm_or_si128(_mm_and_si128(closer, _mm_set1_epi32(k)), _mm_andnot_si128(closer, best));
                least = _mm_or_si128(_mm_and_si128(closer, error), _mm_andnot_si128(closer, least));
            }
            alignas(16) int32_t picks[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(picks), best);
            for (int p = 0; p < 4; p++) indices |= uint32_t(picks[p]) << (2 * (4 * quarter + p));
        }
    }
    out[0] = uint8_t(c0);
    out[1] = uint8_t(c0 >> 8);
    out[2] = uint8_t(c1);
    out[3] = uint8_t(c1 >> 8);
    for (int k = 0; k < 4; k++) out[4 + k] = uint8_t(indices >> (8 * k));
}

}  // namespace

std::vector<uint8_t> encodeDxt1(const cv::Mat& bgr) {
    int width = bgr.cols, height = bgr.rows;
    std::vector<uint8_t> blocks(dxt1Size(width, height));
    uint8_t* out = blocks.data();
    alignas(16) int16_t rgb[3][16];
    Channel pixels[3];
    for (int by = 0; by < height; by += 4) {
        const uint8_t* rows[4];
        for (int j = 0; j < 4; j++) rows[j] = bgr.ptr<uint8_t>(std::min(by + j, height - 1));
        for (int bx = 0; bx < width; bx += 4) {
            int columns[4];
            for (int i = 0; i < 4; i++) columns[i] = 3 * std::min(bx + i, width - 1);
            for (int p = 0; p < 16; p++) {
                const uint8_t* px = rows[p / 4] + columns[p % 4];
                rgb[0][p] = px[2];
                rgb[1][p] = px[1];
                rgb[2][p] = px[0];
            }
            for (int c = 0; c < 3; c++) {
                pixels[c].low = _mm_load_si128(reinterpret_cast<const __m128i*>(rgb[c]));
                pixels[c].high = _mm_load_si128(reinterpret_cast<const __m128i*>(rgb[c] + 8));
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
            int palette[4][3];
            blockPalette(c0, c1, palette);
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
