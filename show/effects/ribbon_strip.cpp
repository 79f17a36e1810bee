#include "show/effects/ribbon_strip.h"

#include <GL/glew.h>

#include <cmath>

static StripPoint stripPoint(const PathSample& s, float fixedHalfWidth) {
    float halfWidth = fixedHalfWidth >= 0.00001f ? fixedHalfWidth : s.halfWidth;
    return {s.position, {-s.direction.y, s.direction.x}, s.direction, halfWidth};
}

// The whole points in between are the path's own, so only the two ends are
// sampled between points.
std::vector<StripPoint> stripPoints(const RibbonPath& path, float a, float b, const StripLook& look) {
    std::vector<StripPoint> points;
    int count = path.count();
    if (count < 2 || std::isnan(a) || std::isnan(b)) return points;
    float last = static_cast<float>(count - 1);
    a = std::fmin(std::fmax(a, 0.0f), last);
    b = std::fmin(std::fmax(b, 0.0f), last);
    if (b < a || b < 1) return points;
    if (look.kind == StripKind::Chain) {
        a = std::trunc(a);
        b = std::trunc(b);
    }
    int wholeA = static_cast<int>(a), wholeB = static_cast<int>(b);
    points.reserve(static_cast<size_t>(wholeB - wholeA + 1));
    points.push_back(stripPoint(samplePathAt(path, a), look.fixedHalfWidth));
    for (int i = wholeA + 1; i <= wholeB - 1; i++) {
        Vec3 direction = (path.points[i + 1] - path.points[i]).normalized();
        points.push_back(stripPoint({path.points[i], path.halfWidths[i], direction}, look.fixedHalfWidth));
    }
    float end = static_cast<float>(wholeB - 1) + (b - static_cast<float>(wholeB));
    points.push_back(stripPoint(samplePathAt(path, end), look.fixedHalfWidth));
    return points;
}

// The two vertices of the strip's m-th point, the left edge first.
static void vertexPair(const StripPoint& p, int m, const StripLook& look, StripVertex out[2]) {
    float z = 0;
    if (look.kind == StripKind::Rising && m > 289) z = 0.001f * (static_cast<float>(m) - 289.0f);
    for (int k = 0; k < 2; k++) {
        float reach = (k == 0 ? p.halfWidth : -p.halfWidth) + look.sideOffset;
        StripVertex v = {p.position.x + p.side.x * reach, p.position.y + p.side.y * reach, z, 0, 0};
        if (look.kind == StripKind::Chain) {
            v.s = 0.1f * static_cast<float>(m) + look.scroll;
            v.t = k == 0 ? 0.0f : 0.1f;
        } else {
            v.s = v.x * look.textureScale + look.originX;
            v.t = v.y * look.textureScale + look.originY;
        }
        out[k] = v;
    }
}

std::vector<StripVertex> stripVertices(const RibbonPath& path, float a, float b, const StripLook& look) {
    std::vector<StripPoint> points = stripPoints(path, a, b, look);
    std::vector<StripVertex> out(2 * points.size());
    for (size_t m = 0; m < points.size(); m++) vertexPair(points[m], static_cast<int>(m), look, &out[2 * m]);
    return out;
}

void drawStripPoints(const std::vector<StripPoint>& points, const StripLook& look) {
    if (points.empty()) return;
    std::vector<StripVertex> vertices(2 * points.size());
    for (size_t m = 0; m < points.size(); m++) vertexPair(points[m], static_cast<int>(m), look, &vertices[2 * m]);
    // One array draw instead of four calls a point: the curls and the chain
    // send tens of thousands of points a frame.
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(StripVertex), &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(StripVertex), &vertices[0].s);
    glDrawArrays(GL_QUAD_STRIP, 0, static_cast<GLsizei>(vertices.size()));
    glPopClientAttrib();
}

void drawStrip(const RibbonPath& path, float a, float b, const StripLook& look) {
    drawStripPoints(stripPoints(path, a, b, look), look);
}

// Where the sheet of point p reaches out to: `beyond` past the strip's edge,
// leaning forward by 0.15 of the segment's direction, lifted by `lift`.
static Vec3 sheetEdge(const StripPoint& p, float sideOffset, float beyond, float lift) {
    float reach = p.halfWidth + sideOffset + beyond;
    return {p.position.x + p.side.x * reach + 0.15f * p.direction.x,
            p.position.y + p.side.y * reach + 0.15f * p.direction.y, lift};
}

// The strip's own left edge at point p.
static Vec3 stripEdge(const StripPoint& p, float sideOffset) {
    float reach = p.halfWidth + sideOffset;
    return {p.position.x + p.side.x * reach, p.position.y + p.side.y * reach, 0};
}

static void vertex(Vec3 v) { glVertex3f(v.x, v.y, v.z); }

static void drawFringe(const std::vector<StripPoint>& points, float sideOffset) {
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);  // the sheet, in the strip's colour
    for (size_t m = 0; m + 1 < points.size(); m++) {
        const StripPoint &p = points[m], &q = points[m + 1];
        vertex(stripEdge(p, sideOffset));
        vertex(sheetEdge(p, sideOffset, 1.5f, 0));
        vertex(sheetEdge(q, sideOffset, 1.5f, 0));
        vertex(stripEdge(q, sideOffset));
    }
    glEnd();
    glColor3f(0.5f, 0.5f, 0.5f);
    glBegin(GL_QUADS);  // the grey fringe along the sheet's edge
    for (size_t m = 0; m + 1 < points.size(); m++) {
        float waveP = std::sin(static_cast<float>(m)), waveQ = std::sin(static_cast<float>(m + 1));
        vertex(sheetEdge(points[m], sideOffset, 1.5f, 0.2f * waveP));
        vertex(sheetEdge(points[m], sideOffset, 1.6f, 0.6f * waveP));
        vertex(sheetEdge(points[m + 1], sideOffset, 1.6f, 0.6f * waveQ));
        vertex(sheetEdge(points[m + 1], sideOffset, 1.5f, 0.2f * waveQ));
    }
    glEnd();
}

void drawRibbon(const RibbonPath& path, float a, float b, float originX, float originY, float c, float d, float e,
                float f) {
    StripLook look;
    look.originX = originX;
    look.originY = originY;
    look.textureScale = c;
    look.sideOffset = d;
    look.fixedHalfWidth = e;
    std::vector<StripPoint> points = stripPoints(path, a, b, look);
    drawStripPoints(points, look);
    if (f > 0.001f) drawFringe(points, d);
}
