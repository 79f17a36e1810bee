#include "render/math.h"
#include "render/pi.h"

#include <cfloat>
#include <cmath>
#include <stdexcept>

Mat4 Mat4::identity() {
    return {{1, 0, 0, 0,  0, 1, 0, 0,  0, 0, 1, 0,  0, 0, 0, 1}};
}

Mat4 Mat4::translation(Vec3 t) {
    return {{1, 0, 0, t.x,  0, 1, 0, t.y,  0, 0, 1, t.z,  0, 0, 0, 1}};
}

// Both converters keep the exact constants the show's layouts were tuned with.
Mat4 Mat4::fromEuler(float ax, float ay, float az) {
    ax = ax * PI_FLOAT / 180.0f;
    ay = ay * PI_FLOAT / 180.0f;
    az = az * PI_FLOAT / 180.0f;
    float cx = std::cos(ax), sx = std::sin(ax);
    float cy = std::cos(ay), sy = std::sin(ay);
    float cz = std::cos(az), sz = std::sin(az);
    return {{cz * cy, cz * sy * sx - sz * cx, cz * sy * cx + sz * sx, 0,
             sz * cy, sz * sy * sx + cz * cx, sz * sy * cx - cz * sx, 0,
             -sy,     cy * sx,                cy * cx,                0,
             0,       0,                      0,                      1}};
}

Mat4 Mat4::fromAxisAngle(Vec3 a, float degrees) {
    float angle = degrees * 0.017453292f;
    float s = std::sin(angle), c = std::cos(angle), e = 1.0f - c;
    float x = a.x, y = a.y, z = a.z;
    return {{x * x * e + c,     x * y * e - z * s, x * z * e + y * s, 0,
             x * y * e + z * s, y * y * e + c,     y * z * e - x * s, 0,
             x * z * e - y * s, y * z * e + x * s, z * z * e + c,     0,
             0,                 0,                 0,                 1}};
}

Mat4 Mat4::fromQuaternion(float x, float y, float z, float w) {
    return {{x * x - y * y - z * z + w * w, 2 * (x * y - z * w), 2 * (x * z + y * w), 0,
             2 * (x * y + z * w), -x * x + y * y - z * z + w * w, 2 * (y * z - x * w), 0,
             2 * (x * z - y * w), 2 * (y * z + x * w), -x * x - y * y + z * z + w * w, 0,
             0, 0, 0, 1}};
}

static int checkedIndex(int row, int column) {
    if (row < 0 || row > 3) throw std::out_of_range("Matrix row index is outside of the range");
    if (column < 0 || column > 3) throw std::out_of_range("Vector element index outside of the range");
    return row * 4 + column;
}

float& Mat4::at(int row, int column) { return m[checkedIndex(row, column)]; }
float Mat4::at(int row, int column) const { return m[checkedIndex(row, column)]; }

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 out;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[i * 4 + k] * b.m[k * 4 + j];
            out.m[i * 4 + j] = sum;
        }
    return out;
}

// trunc(x) as an index, 0 for NaN, clamped to 0..count-1 without ever
// converting an out-of-range float.
static int clampedIndex(float t, int count) {
    if (!(t > 0.0f)) return 0;
    if (t >= static_cast<float>(count - 1)) return count - 1;
    return static_cast<int>(t);
}

// trunc(x) mod count, always in 0..count-1 (negative and huge x included).
static int wrappedIndex(float t, int count) {
    if (!std::isfinite(t)) return 0;
    int i = static_cast<int>(std::fmod(t, static_cast<float>(count)));
    return i < 0 ? i + count : i;
}

static float hermite(float p0, float p1, float p2, float p3, float h) {
    float m1 = (p2 - p0) / 2;
    float m2 = (p3 - p1) / 2;
    return ((2 * p1 - 2 * p2 + m1 + m2) * h + (3 * p2 - 3 * p1 - 2 * m1 - m2)) * (h * h) + m1 * h + p1;
}

Vec3 samplePath(const Vec3* points, int count, bool closed, float x) {
    if (count <= 0) return Vec3::zero();
    int i0, i1, i2, i3;
    float h;
    if (closed) {
        // Far from the ends the plain index serves; elsewhere shift by a
        // whole number of laps so the index is positive before wrapping.
        if (!(2 < x && x < count - 2)) x += static_cast<float>(count) * 10000;
        float t = std::trunc(x);
        h = x - t;
        i1 = wrappedIndex(t, count);
        i0 = (i1 + count - 1) % count;
        i2 = (i1 + 1) % count;
        i3 = (i1 + 2) % count;
    } else {
        if (x > count) return points[count - 1];
        if (x < 0) return points[0];
        float t = std::trunc(x);
        h = x - t;
        i1 = clampedIndex(t, count);
        i0 = i1 > 0 ? i1 - 1 : 0;
        i2 = i1 + 1 < count ? i1 + 1 : count - 1;
        i3 = i1 + 2 < count ? i1 + 2 : count - 1;
    }
    const Vec3 &p0 = points[i0], &p1 = points[i1], &p2 = points[i2], &p3 = points[i3];
    return {hermite(p0.x, p1.x, p2.x, p3.x, h), hermite(p0.y, p1.y, p2.y, p3.y, h),
            hermite(p0.z, p1.z, p2.z, p3.z, h)};
}
