// Hostile and degenerate input, mesh invariants on large sets, and the exact
// orientation sign.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "delaunay.h"
#include "orient2d.h"

namespace {

using delaunay::Triangulation;
using delaunay::triangulate;

Triangulation run(const std::vector<double>& xy) { return triangulate(xy.data(), xy.size() / 2); }

bool isEmpty(const Triangulation& t) {
    return t.triangles.empty() && t.halfedges.empty() && t.hull.empty();
}

int orientOf(const std::vector<double>& xy, uint32_t a, uint32_t b, uint32_t c) {
    return delaunay::orientSign(xy[2 * a], xy[2 * a + 1], xy[2 * b], xy[2 * b + 1], xy[2 * c],
                                xy[2 * c + 1]);
}

// Twins are mutual and run the other way, every triangle and the hull turn
// clockwise, and the triangle count fits the hull size.
void expectValidMesh(const std::vector<double>& xy, const Triangulation& t, size_t usedPoints) {
    ASSERT_EQ(t.error, nullptr);
    ASSERT_EQ(t.triangles.size(), t.halfedges.size());
    ASSERT_EQ(t.triangles.size() % 3, 0u);
    size_t hullEdges = 0;
    for (size_t e = 0; e < t.halfedges.size(); ++e) {
        size_t next = e % 3 == 2 ? e - 2 : e + 1;
        int32_t h = t.halfedges[e];
        if (h == -1) {
            ++hullEdges;
            continue;
        }
        ASSERT_LT(size_t(h), t.halfedges.size());
        size_t hNext = h % 3 == 2 ? size_t(h) - 2 : size_t(h) + 1;
        ASSERT_EQ(t.halfedges[size_t(h)], int32_t(e));
        ASSERT_EQ(t.triangles[e], t.triangles[hNext]);
        ASSERT_EQ(t.triangles[next], t.triangles[size_t(h)]);
    }
    for (size_t k = 0; k < t.triangles.size(); k += 3)
        ASSERT_EQ(orientOf(xy, t.triangles[k], t.triangles[k + 1], t.triangles[k + 2]), -1);
    size_t h = t.hull.size();
    ASSERT_EQ(hullEdges, h);
    for (size_t k = 0; k < h; ++k)
        ASSERT_LE(orientOf(xy, t.hull[k], t.hull[(k + 1) % h], t.hull[(k + 2) % h]), 0);
    EXPECT_EQ(t.triangles.size() / 3, 2 * usedPoints - 2 - h);
}

TEST(Input, RejectsBadCoordinatesMissingArrayAndTooManyPoints) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(), 2 * delaunay::MAX_COORDINATE};
    for (double v : bad) {
        for (size_t slot = 0; slot < 8; slot += 3) {
            std::vector<double> xy = {-1, -1, 1, -1, 1, 1, -1, 1};
            xy[slot] = v;
            Triangulation t = run(xy);
            EXPECT_NE(t.error, nullptr);
            EXPECT_TRUE(isEmpty(t));
        }
    }
    EXPECT_NE(triangulate(nullptr, 3).error, nullptr);
    double one[2] = {0, 0};
    EXPECT_NE(triangulate(one, delaunay::MAX_POINTS + 1).error, nullptr);
    Triangulation none = triangulate(nullptr, 0);
    EXPECT_EQ(none.error, nullptr);
    EXPECT_TRUE(isEmpty(none));
}

TEST(Degenerate, ManyDuplicatesGiveOnePointHull) {
    std::vector<double> xy;
    for (int i = 0; i < 5000; ++i) xy.insert(xy.end(), {0.25, -0.5});
    Triangulation t = run(xy);
    EXPECT_EQ(t.error, nullptr);
    EXPECT_TRUE(t.triangles.empty());
    EXPECT_EQ(t.hull, std::vector<uint32_t>{0});
}

TEST(Degenerate, ShuffledLineGivesSortedDistinctHull) {
    std::vector<uint32_t> order(3000);
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i % 1000;  // every point three times
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    std::vector<double> xy;
    for (uint32_t k : order) xy.insert(xy.end(), {k * 0.5 - 3, k * -0.25 + 1});
    Triangulation t = run(xy);
    EXPECT_TRUE(t.triangles.empty());
    ASSERT_EQ(t.hull.size(), 1000u);
    for (size_t k = 1; k < t.hull.size(); ++k) EXPECT_LT(xy[2 * t.hull[k - 1]], xy[2 * t.hull[k]]);
}

TEST(Mesh, LargeRandomSetIsValid) {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<double> xy;
    for (int i = 0; i < 20000; ++i) xy.insert(xy.end(), {u(rng), u(rng)});
    expectValidMesh(xy, run(xy), 20000);
}

// Cocircular points and an exact grid: the worst cases for flipping.
TEST(Mesh, CircleAndGridAreValid) {
    std::vector<double> circle;
    for (int i = 0; i < 5000; ++i)
        circle.insert(circle.end(), {std::cos(i * 0.0012566), std::sin(i * 0.0012566)});
    expectValidMesh(circle, run(circle), 5000);
    std::vector<double> grid;
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 60; ++j) grid.insert(grid.end(), {double(i), double(j)});
    expectValidMesh(grid, run(grid), 3600);
}

TEST(Mesh, ExtremeScalesDoNotBreak) {
    for (double scale : {1e-300, 1e-150, 1e50, delaunay::MAX_COORDINATE}) {
        std::vector<double> xy = {-scale, -scale, scale, -scale, scale, scale, -scale, scale,
                                  0.3 * scale, 0.1 * scale};
        Triangulation t = run(xy);
        EXPECT_EQ(t.error, nullptr);
        EXPECT_EQ(t.triangles.size(), t.halfedges.size());
        for (uint32_t v : t.triangles) EXPECT_LT(v, 5u);
    }
}

// Points on a 2^-40 grid below 2^10: every difference is exact and the
// determinant fits a 128-bit integer, which gives the true sign.
TEST(Orient, MatchesExactSignOnNearlyCollinearTriples) {
    std::mt19937_64 rng(99);
    std::uniform_int_distribution<int64_t> coord(-(int64_t(1) << 49), int64_t(1) << 49);
    std::uniform_int_distribution<int64_t> nudge(-2, 2);
    const double unit = 0x1p-40;
    int naiveWrong = 0;
    for (int k = 0; k < 20000; ++k) {
        int64_t px = coord(rng), py = coord(rng), dx = coord(rng) / 2, dy = coord(rng) / 2;
        int64_t qx = px + dx / 3, qy = py + dy / 3 + nudge(rng);
        int64_t rx = px + dx, ry = py + dy + nudge(rng);
        __int128 exact = __int128(qx - px) * (ry - py) - __int128(qy - py) * (rx - px);
        int want = exact > 0 ? 1 : exact < 0 ? -1 : 0;
        double fpx = px * unit, fpy = py * unit, fqx = qx * unit, fqy = qy * unit;
        double frx = rx * unit, fry = ry * unit;
        ASSERT_EQ(delaunay::orientSign(fpx, fpy, fqx, fqy, frx, fry), want) << k;
        ASSERT_EQ(delaunay::orientSign(fpx, fpy, frx, fry, fqx, fqy), -want) << k;
        double naive = (fqx - fpx) * (fry - fpy) - (fqy - fpy) * (frx - fpx);
        if ((naive > 0) - (naive < 0) != want) ++naiveWrong;
    }
    EXPECT_GT(naiveWrong, 0);  // the triples really are beyond plain rounding
}

}  // namespace
