// math.h - single-precision vectors and a row-major 4 x 4 matrix.
//
//   Mat4 m = Mat4::fromEuler(0, 0, 90) * Mat4::translation({1, 0, 0});
//   Vec3 p = m.transformPoint({1, 0, 0});          // translate, then rotate
//   Vec3 q = samplePath(points, count, false, 2.5f); // Catmull-Rom along a path
//
// Points are column vectors (p' = M p): the translation lives in column 3.
#pragma once
#include <cfloat>
#include <cmath>

struct Vec2 {
    float x, y;
};

// The small operations are inline: the line effects run them on tens of
// thousands of points a frame.
struct Vec3 {
    float x, y, z;

    static Vec3 zero() { return {0.0f, 0.0f, 0.0f}; }
    Vec3& operator+=(Vec3 v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    Vec3& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    // Divided by its length; returned unchanged when the length is at most
    // FLT_EPSILON, so a zero vector stays zero.
    Vec3 normalized() const {
        float length = std::sqrt(x * x + y * y + z * z);
        if (length <= FLT_EPSILON) return *this;
        return {x / length, y / length, z / length};
    }
};

inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 v, float s) { return {v.x * s, v.y * s, v.z * s}; }

struct Mat4 {
    float m[16];  // element (row, column) at m[row * 4 + column]

    static Mat4 identity();
    static Mat4 translation(Vec3 t);
    // Rz(az) * Ry(ay) * Rx(ax), angles in degrees.
    static Mat4 fromEuler(float ax, float ay, float az);
    // The axis is used as given, not normalised.
    static Mat4 fromAxisAngle(Vec3 axis, float degrees);
    // The quaternion (x, y, z, w) is used as given, not normalised.
    static Mat4 fromQuaternion(float x, float y, float z, float w);

    // Checked element access: throws std::out_of_range for an index outside 0..3.
    float& at(int row, int column);
    float at(int row, int column) const;

    Vec3 transformPoint(Vec3 p) const {
        return {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3], m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
                m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]};
    }
};

Mat4 operator*(const Mat4& a, const Mat4& b);

// Catmull-Rom point at fractional index x of a path of count points. A closed
// path wraps its indices; an open one clamps them and returns its first point
// for x < 0 and its last for x > count. count <= 0 gives the zero vector.
Vec3 samplePath(const Vec3* points, int count, bool closed, float x);
