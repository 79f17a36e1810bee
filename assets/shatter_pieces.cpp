#include "assets/shatter_pieces.h"

#include <algorithm>
#include <cmath>

#include "assets/sprite_motion.h"
#include "lib/delaunay/delaunay.h"
#include "platform/crt_rand.h"
#include "render/noise.h"

constexpr int IMAGE_RANDOM_POINTS = 10;

std::vector<double> shatterPoints(int randomCount) {
    std::vector<double> xy = {-1, -1, 1, -1, 1, 1, -1, 1};
    for (int i = 0; i < randomCount; i++) {
        // Two draws per point, x first; rounded to float as the pieces use them.
        double x = static_cast<float>(crtRand() / 32767.0 * 2.0 - 1.0);
        double y = static_cast<float>(crtRand() / 32767.0 * 2.0 - 1.0);
        xy.push_back(x);
        xy.push_back(y);
    }
    return xy;
}

// The corners, texture coordinates and centroid of triangle j, everything a
// piece needs from the point set. The centroid's 0.3333 is the show's own.
struct Triangle {
    Vec2 p[3];
    Vec2 c;
    float scale;  // grows with the distance from the middle, so seams overlap
};

static Triangle triangleAt(const std::vector<double>& xy, const std::vector<uint32_t>& corners, size_t j) {
    Triangle t;
    for (int k = 0; k < 3; k++)
        t.p[k] = {static_cast<float>(xy[2 * corners[j + k]]), static_cast<float>(xy[2 * corners[j + k] + 1])};
    t.c = {(t.p[0].x + t.p[1].x + t.p[2].x) * 0.3333f, (t.p[0].y + t.p[1].y + t.p[2].y) * 0.3333f};
    t.scale = std::sqrt(t.c.x * t.c.x + t.c.y * t.c.y) * 0.03f + 1.0f;
    return t;
}

static void setTexCoords(ShatterPiece& piece, const Triangle& t) {
    for (int k = 0; k < 3; k++) piece.texCoords[k] = {t.p[k].x * 0.5f + 0.5f, t.p[k].y * 0.5f + 0.5f};
}

std::vector<ShatterPiece> screenShatterPieces(int randomCount, float progress) {
    crtSrand(4234);
    std::vector<double> xy = shatterPoints(std::max(randomCount, 0));
    delaunay::Triangulation mesh = delaunay::triangulate(xy.data(), xy.size() / 2);
    const std::vector<uint32_t>& corners = mesh.triangles;

    float g0 = stepped(progress, 10.0f) * 311.0f;
    std::vector<ShatterPiece> pieces;
    for (size_t j = 0; j + 2 < corners.size(); j += 3) {
        Triangle t = triangleAt(xy, corners, j);
        float fj = static_cast<float>(j);
        // Later pieces lag a little, so the picture assembles in a ripple.
        float d = progress - fj * 0.005f;
        float e = stepped(std::min(std::max(d, 0.0f), 1.0f), 10.0f);
        float g = 0.0f, h = 0.0f;
        if (e <= 0.99f) {
            g = noise(e * 311.0f + fj, 1.6f, 0.5f);
            h = noise(stepped(d, 5.0f) * 624.0f + fj, 1.3f, 0.5f);
        }
        float k = 1.0f - e - 0.1f * h;
        float m = noise(fj + g0, 2.6f, 0.5f) * 0.03f;

        ShatterPiece piece;
        piece.push = {3.0f * k * t.c.x, -3.0f * k * t.c.y, 0.0f};
        piece.pivot = {t.c.x, -t.c.y, 0.0f};
        piece.turnDegrees = 20.0f * h + 50.0f * g;
        piece.drift = {m * t.c.x, -m * t.c.y, 0.0f};
        for (int c = 0; c < 3; c++) piece.corners[c] = {t.scale * t.p[c].x, t.scale * t.p[c].y, 0.0f};
        setTexCoords(piece, t);
        pieces.push_back(piece);
    }
    return pieces;
}

std::vector<ShatterPiece> imageShatterPieces(float progress) {
    crtSrand(4234);
    std::vector<double> xy = shatterPoints(IMAGE_RANDOM_POINTS);
    delaunay::Triangulation mesh = delaunay::triangulate(xy.data(), xy.size() / 2);
    const std::vector<uint32_t>& corners = mesh.triangles;
    float n = static_cast<float>(corners.size());

    std::vector<ShatterPiece> pieces;
    for (size_t j = 0; j + 2 < corners.size(); j += 3) {
        Triangle t = triangleAt(xy, corners, j);
        float g = static_cast<float>(j) / n;
        float u = noise((g * 10.1f + progress * 0.02f) * 40.0f, 0.5f, 0.5f) * 0.01f;
        float v = 1.0f - std::min(std::max(stepped(progress + g, 40.0f), 0.0f), 1.0f);
        float angle = (static_cast<float>(crtRand()) / 32767.0f * 200.0f - 100.0f) * v;
        // R * T: each piece is pushed off first, then turned about the centroid.
        Mat4 place = Mat4::fromEuler(0.0f, 0.0f, angle) * Mat4::translation({0.5f * v, 0.1f * v, 0.1f * v});

        ShatterPiece piece;
        piece.push = Vec3::zero();
        piece.pivot = Vec3::zero();
        piece.turnDegrees = 0.0f;
        piece.drift = Vec3::zero();
        for (int c = 0; c < 3; c++) {
            Vec3 p = place.transformPoint({t.scale * t.p[c].x + u - t.c.x, t.scale * t.p[c].y - t.c.y, 0.0f});
            piece.corners[c] = {p.x + t.c.x, p.y + t.c.y, g * 0.1f};
        }
        setTexCoords(piece, t);
        pieces.push_back(piece);
    }
    return pieces;
}
