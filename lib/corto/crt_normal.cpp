#include "crt_normal.h"

#include <cmath>
#include <cstdlib>

namespace crt {

Octa toOcta(const float* v, int unit) {
    float s = std::fabs(v[0]) + std::fabs(v[1]) + std::fabs(v[2]);
    if (!(s > 0) || !std::isfinite(s)) return {0, 0};
    float px = v[0] / s, py = v[1] / s;
    if (v[2] < 0) {
        float ax = std::fabs(px), ay = std::fabs(py);
        px = 1 - ay;
        py = 1 - ax;
        if (v[0] < 0) px = -px;
        if (v[1] < 0) py = -py;
    }
    return {int32_t(px * float(unit)), int32_t(py * float(unit))};
}

void toSphere(Octa o, int unit, float* out) {
    int64_t x = o.x, y = o.y;
    int64_t z = int64_t(unit) - std::llabs(x) - std::llabs(y);
    if (z < 0) {
        int64_t nx = (x > 0 ? 1 : -1) * (int64_t(unit) - std::llabs(y));
        int64_t ny = (y > 0 ? 1 : -1) * (int64_t(unit) - std::llabs(x));
        x = nx;
        y = ny;
    }
    float v[3] = {float(x), float(y), float(z)};
    normalize(v, out);
}

void normalize(const float* v, float* out) {
    float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(len > 0) || !std::isfinite(len)) {
        out[0] = 0;
        out[1] = 0;
        out[2] = 1;
        return;
    }
    for (int c = 0; c < 3; c++) out[c] = v[c] / len;
}

void estimateNormals(const std::vector<int32_t>& positions, const uint32_t* index, size_t indexCount,
                     std::vector<float>& out) {
    for (size_t f = 0; f + 2 < indexCount; f += 3) {
        const int32_t* p[3];
        for (int k = 0; k < 3; k++) p[k] = positions.data() + size_t(index[f + k]) * 3;
        float a[3], b[3];
        for (int c = 0; c < 3; c++) {
            a[c] = float(p[1][c]) - float(p[0][c]);
            b[c] = float(p[2][c]) - float(p[0][c]);
        }
        float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        for (int k = 0; k < 3; k++)
            for (int c = 0; c < 3; c++) out[size_t(index[f + k]) * 3 + c] += n[c];
    }
}

std::vector<uint32_t> borderFlags(const uint32_t* index, size_t indexCount, uint32_t nvert) {
    std::vector<uint32_t> flag(nvert, 0);
    for (size_t f = 0; f + 2 < indexCount; f += 3) {
        uint32_t a = index[f], b = index[f + 1], c = index[f + 2];
        flag[a] ^= b ^ c;
        flag[b] ^= a ^ c;
        flag[c] ^= a ^ b;
    }
    return flag;
}

}  // namespace crt
