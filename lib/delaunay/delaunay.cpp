// Sweep-hull construction. Every formula, comparison and tie rule below is
// the reference library's: changing any of them changes which triangles come
// out or their order, even where the mesh stays a valid Delaunay one.
#include "delaunay.h"

#include <cmath>
#include <limits>
#include <new>

#include "orient2d.h"

namespace delaunay {
namespace {

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double NEAR_DUPLICATE = 0x1p-52;
constexpr int FLIP_STACK_SIZE = 512;

double dist2(double ax, double ay, double bx, double by) {
    double dx = ax - bx;
    double dy = ay - by;
    return dx * dx + dy * dy;
}

struct Offset {
    double x, y;  // circumcentre relative to the base point
};

// Multiplying by 0.5/det rather than dividing by det is part of the match.
Offset circumOffset(double ax, double ay, double bx, double by, double cx, double cy) {
    double dx = bx - ax, dy = by - ay;
    double ex = cx - ax, ey = cy - ay;
    double bl = dx * dx + dy * dy;
    double cl = ex * ex + ey * ey;
    double k = 0.5 / (dx * ey - dy * ex);
    return {(ey * bl - dy * cl) * k, (dx * cl - ex * bl) * k};
}

double circumradius2(double ax, double ay, double bx, double by, double cx, double cy) {
    Offset u = circumOffset(ax, ay, bx, by, cx, cy);
    return u.x * u.x + u.y * u.y;
}

// Plain floating point on purpose: cocircular sets must not flip.
bool inCircle(double ax, double ay, double bx, double by, double cx, double cy, double px,
              double py) {
    double dx = ax - px, dy = ay - py;
    double ex = bx - px, ey = by - py;
    double fx = cx - px, fy = cy - py;
    double ap = dx * dx + dy * dy;
    double bp = ex * ex + ey * ey;
    double cp = fx * fx + fy * fy;
    return dx * (ey * cp - bp * fy) - dy * (ex * cp - bp * fx) + ap * (ex * fy - ey * fx) < 0;
}

void swapIds(uint32_t* ids, ptrdiff_t i, ptrdiff_t j) {
    uint32_t t = ids[i];
    ids[i] = ids[j];
    ids[j] = t;
}

// The reference's own quicksort: its tie order is part of the output.
// Recursing into the smaller side only bounds the stack depth; the two sides
// are disjoint, so the order they are sorted in does not matter.
void sortIds(uint32_t* ids, const double* d, ptrdiff_t lo, ptrdiff_t hi) {
    while (hi - lo > 20) {
        ptrdiff_t mid = (lo + hi) >> 1;
        swapIds(ids, mid, lo + 1);
        if (d[ids[lo]] > d[ids[hi]]) swapIds(ids, lo, hi);
        if (d[ids[lo + 1]] > d[ids[hi]]) swapIds(ids, lo + 1, hi);
        if (d[ids[lo]] > d[ids[lo + 1]]) swapIds(ids, lo, lo + 1);
        uint32_t pivot = ids[lo + 1];
        double p = d[pivot];
        ptrdiff_t i = lo + 1, j = hi;
        for (;;) {
            do ++i; while (d[ids[i]] < p);
            do --j; while (d[ids[j]] > p);
            if (j < i) break;
            swapIds(ids, i, j);
        }
        ids[lo + 1] = ids[j];
        ids[j] = pivot;
        if (j - 1 - lo < hi - i) {
            sortIds(ids, d, lo, j - 1);
            lo = i;
        } else {
            sortIds(ids, d, i, hi);
            hi = j - 1;
        }
    }
    for (ptrdiff_t i = lo + 1; i <= hi; ++i) {
        uint32_t id = ids[i];
        double v = d[id];
        ptrdiff_t j = i - 1;
        while (j >= lo && d[ids[j]] > v) {
            ids[j + 1] = ids[j];
            --j;
        }
        ids[j + 1] = id;
    }
}

struct Builder {
    const double* coords;
    double cx, cy;
    size_t hashSize;
    std::vector<int32_t> hash;
    std::vector<uint32_t> next, prev;
    std::vector<int32_t> hullTri;
    uint32_t hullStart = 0;
    size_t hullSize = 0;
    std::vector<uint32_t> triangles;
    std::vector<int32_t> halfedges;

    double x(uint32_t i) const { return coords[2 * size_t(i)]; }
    double y(uint32_t i) const { return coords[2 * size_t(i) + 1]; }

    // Orientation of point (px, py) against hull vertices a -> b.
    int orient(double px, double py, uint32_t a, uint32_t b) const {
        return orientSign(px, py, x(a), y(a), x(b), y(b));
    }

    size_t hashKey(double px, double py) const {
        double dx = px - cx, dy = py - cy;
        double p = dx / (std::fabs(dx) + std::fabs(dy));
        double angle = dy > 0 ? (3 - p) / 4 : (1 + p) / 4;
        double slot = std::floor(angle * double(hashSize));
        // Only a point exactly at the centre gives NaN; never convert it.
        if (!(slot >= 0)) return 0;
        return size_t(slot) % hashSize;
    }

    void link(int32_t e, int32_t h) {
        halfedges[size_t(e)] = h;
        if (h != -1) halfedges[size_t(h)] = e;
    }

    int32_t add(uint32_t v0, uint32_t v1, uint32_t v2, int32_t h0, int32_t h1, int32_t h2) {
        int32_t t = int32_t(triangles.size());
        triangles.push_back(v0);
        triangles.push_back(v1);
        triangles.push_back(v2);
        halfedges.insert(halfedges.end(), 3, -1);
        link(t, h0);
        link(t + 1, h1);
        link(t + 2, h2);
        return t;
    }

    int32_t legalize(int32_t a) {
        int32_t stack[FLIP_STACK_SIZE];
        int depth = 0;
        for (;;) {
            int32_t b = halfedges[size_t(a)];
            int32_t a0 = a - a % 3;
            int32_t ar = a0 + (a + 2) % 3;
            if (b == -1) {
                if (depth == 0) return ar;
                a = stack[--depth];
                continue;
            }
            int32_t b0 = b - b % 3;
            int32_t al = a0 + (a + 1) % 3;
            int32_t bl = b0 + (b + 2) % 3;
            uint32_t p0 = triangles[size_t(ar)];
            uint32_t pr = triangles[size_t(a)];
            uint32_t pl = triangles[size_t(al)];
            uint32_t p1 = triangles[size_t(bl)];
            if (inCircle(x(p0), y(p0), x(pr), y(pr), x(pl), y(pl), x(p1), y(p1))) {
                triangles[size_t(a)] = p1;
                triangles[size_t(b)] = p0;
                int32_t hbl = halfedges[size_t(bl)];
                if (hbl == -1) {
                    // Walk backwards: forwards can circle over removed vertices.
                    uint32_t v = hullStart;
                    do {
                        if (hullTri[v] == bl) {
                            hullTri[v] = a;
                            break;
                        }
                        v = prev[v];
                    } while (v != hullStart);
                }
                link(a, hbl);
                link(b, halfedges[size_t(ar)]);
                link(ar, bl);
                int32_t br = b0 + (b + 1) % 3;
                // A full stack drops the edge, as the reference does.
                if (depth < FLIP_STACK_SIZE) stack[depth++] = br;
            } else {
                if (depth == 0) return ar;
                a = stack[--depth];
            }
        }
    }
};

// Collinear or fewer than three distinct points: no triangles, and the hull is
// the points sorted along the line with duplicates removed.
void lineHull(const double* coords, size_t n, std::vector<double>& key, std::vector<uint32_t>& ids,
              Triangulation& out) {
    for (size_t i = 0; i < n; ++i) {
        double k = coords[2 * i] - coords[0];
        if (k == 0 || std::isnan(k)) k = coords[2 * i + 1] - coords[1];
        key[i] = k;
    }
    sortIds(ids.data(), key.data(), 0, ptrdiff_t(n) - 1);
    double last = -INF;
    for (size_t i = 0; i < n; ++i) {
        if (key[ids[i]] > last) {
            out.hull.push_back(ids[i]);
            last = key[ids[i]];
        }
    }
}

void build(const double* coords, size_t n, Triangulation& out) {
    std::vector<uint32_t> ids(n);
    std::vector<double> dists(n);
    for (size_t i = 0; i < n; ++i) ids[i] = uint32_t(i);
    if (n < 3) {
        lineHull(coords, n, dists, ids, out);
        return;
    }
    Builder b;
    b.coords = coords;

    double minX = INF, minY = INF, maxX = -INF, maxY = -INF;
    for (size_t i = 0; i < n; ++i) {
        double px = coords[2 * i], py = coords[2 * i + 1];
        if (px < minX) minX = px;
        if (py < minY) minY = py;
        if (px > maxX) maxX = px;
        if (py > maxY) maxY = py;
    }
    double bx = (minX + maxX) / 2, by = (minY + maxY) / 2;

    uint32_t i0 = 0, i1 = 0, i2 = 0;
    double best = INF;
    for (uint32_t i = 0; i < n; ++i) {
        double d = dist2(bx, by, b.x(i), b.y(i));
        if (d < best) {
            i0 = i;
            best = d;
        }
    }
    best = INF;
    for (uint32_t i = 0; i < n; ++i) {
        if (i == i0) continue;
        double d = dist2(b.x(i0), b.y(i0), b.x(i), b.y(i));
        if (d < best && d > 0) {
            i1 = i;
            best = d;
        }
    }
    best = INF;
    for (uint32_t i = 0; i < n; ++i) {
        if (i == i0 || i == i1) continue;
        double r = circumradius2(b.x(i0), b.y(i0), b.x(i1), b.y(i1), b.x(i), b.y(i));
        if (r < best) {
            i2 = i;
            best = r;
        }
    }
    if (best == INF) {
        lineHull(coords, n, dists, ids, out);
        return;
    }
    if (orientSign(b.x(i0), b.y(i0), b.x(i1), b.y(i1), b.x(i2), b.y(i2)) > 0) {
        uint32_t t = i1;
        i1 = i2;
        i2 = t;
    }
    Offset u = circumOffset(b.x(i0), b.y(i0), b.x(i1), b.y(i1), b.x(i2), b.y(i2));
    b.cx = b.x(i0) + u.x;
    b.cy = b.y(i0) + u.y;
    for (uint32_t i = 0; i < n; ++i) dists[i] = dist2(b.x(i), b.y(i), b.cx, b.cy);
    sortIds(ids.data(), dists.data(), 0, ptrdiff_t(n) - 1);

    b.hashSize = size_t(std::ceil(std::sqrt(double(n))));
    b.hash.assign(b.hashSize, -1);
    b.next.assign(n, 0);
    b.prev.assign(n, 0);
    b.hullTri.assign(n, 0);
    size_t maxTriangles = 2 * n - 5;
    b.triangles.reserve(maxTriangles * 3);
    b.halfedges.reserve(maxTriangles * 3);

    b.hullStart = i0;
    b.hullSize = 3;
    b.next[i0] = b.prev[i2] = i1;
    b.next[i1] = b.prev[i0] = i2;
    b.next[i2] = b.prev[i1] = i0;
    b.hullTri[i0] = 0;
    b.hullTri[i1] = 1;
    b.hullTri[i2] = 2;
    b.hash[b.hashKey(b.x(i0), b.y(i0))] = int32_t(i0);
    b.hash[b.hashKey(b.x(i1), b.y(i1))] = int32_t(i1);
    b.hash[b.hashKey(b.x(i2), b.y(i2))] = int32_t(i2);
    b.add(i0, i1, i2, -1, -1, -1);

    double xp = 0, yp = 0;
    for (size_t k = 0; k < n; ++k) {
        uint32_t i = ids[k];
        double px = b.x(i), py = b.y(i);
        // Only the previous survivor is compared: absolute, not relative.
        if (k > 0 && std::fabs(px - xp) <= NEAR_DUPLICATE && std::fabs(py - yp) <= NEAR_DUPLICATE)
            continue;
        xp = px;
        yp = py;
        if (i == i0 || i == i1 || i == i2) continue;

        size_t key = b.hashKey(px, py);
        int32_t found = -1;
        for (size_t j = 0; j < b.hashSize; ++j) {
            int32_t s = b.hash[(key + j) % b.hashSize];
            if (s != -1 && b.next[size_t(s)] != uint32_t(s)) {
                found = s;
                break;
            }
        }
        if (found == -1) continue;
        uint32_t start = b.prev[size_t(found)];

        // A collinear edge is not visible; a point that sees none is skipped.
        uint32_t e = start;
        bool visible = true;
        while (b.orient(px, py, e, b.next[e]) <= 0) {
            e = b.next[e];
            if (e == start) {
                visible = false;
                break;
            }
        }
        if (!visible) continue;

        int32_t t = b.add(e, i, b.next[e], -1, -1, b.hullTri[e]);
        b.hullTri[i] = b.legalize(t + 2);
        b.hullTri[e] = t;
        b.hullSize++;

        uint32_t m = b.next[e];
        for (uint32_t q = b.next[m]; b.orient(px, py, m, q) > 0; q = b.next[m]) {
            t = b.add(m, i, q, b.hullTri[i], -1, b.hullTri[m]);
            b.hullTri[i] = b.legalize(t + 2);
            b.next[m] = m;
            b.hullSize--;
            m = q;
        }
        if (e == start) {
            for (uint32_t q = b.prev[e]; b.orient(px, py, q, e) > 0; q = b.prev[e]) {
                t = b.add(q, i, e, -1, b.hullTri[e], b.hullTri[q]);
                b.legalize(t + 2);
                b.hullTri[q] = t;
                b.next[e] = e;
                b.hullSize--;
                e = q;
            }
        }

        b.hullStart = b.prev[i] = e;
        b.next[e] = b.prev[m] = i;
        b.next[i] = m;
        b.hash[b.hashKey(px, py)] = int32_t(i);
        b.hash[b.hashKey(b.x(e), b.y(e))] = int32_t(e);
    }

    out.triangles = std::move(b.triangles);
    out.halfedges = std::move(b.halfedges);
    out.hull.reserve(b.hullSize);
    uint32_t v = b.hullStart;
    for (size_t k = 0; k < b.hullSize; ++k) {
        out.hull.push_back(v);
        v = b.next[v];
    }
}

const char* checkInput(const double* coords, size_t n) {
    if (n == 0) return nullptr;
    if (!coords) return "delaunay: no coordinate array";
    if (n > MAX_POINTS) return "delaunay: too many points";
    for (size_t i = 0; i < 2 * n; ++i) {
        if (!std::isfinite(coords[i])) return "delaunay: non-finite coordinate";
        if (std::fabs(coords[i]) > MAX_COORDINATE) return "delaunay: coordinate out of range";
    }
    return nullptr;
}

}  // namespace

Triangulation triangulate(const double* coords, size_t pointCount) {
    Triangulation out;
    out.error = checkInput(coords, pointCount);
    if (out.error) return out;
    try {
        build(coords, pointCount, out);
    } catch (const std::bad_alloc&) {
        out = Triangulation();
        out.error = "delaunay: out of memory";
    }
    return out;
}

}  // namespace delaunay
