#include "show/effects/chain.h"

#include <GL/glew.h>

#include <cmath>

#include "assets/draw_trace.h"
#include "assets/sprite_motion.h"
#include "render/motion.h"
#include "show/effects/ribbon_strip.h"

static float chainScroll = 0;
static uint64_t linksDrawn = 0;  // only grows: each link's own moment to fall

void setChainScroll(double scroll) { chainScroll = static_cast<float>(scroll); }

double chainLinkDrop(double t, uint64_t link) {
    // Each link's moment lies within 1.54 s of 251 s; none moves before 251 s,
    // so those whose moment came earlier start with a jump.
    if (!(t >= 251)) return 0.0;
    double late = (t - 251) - 1.54 * std::sin(122.0 * static_cast<double>(link));
    return late > 0 ? -0.12 * late * late : 0.0;
}

// Four stripes side by side along one path: its points are worked out once.
static void drawStripes(const RibbonPath& path, const float (*colours)[3], int firstColour) {
    StripLook look;
    look.kind = StripKind::Chain;
    look.scroll = chainScroll;
    std::vector<StripPoint> points = stripPoints(path, 0, static_cast<float>(path.count()), look);
    for (int i = 0; i < 4; i++) {
        const float* c = colours[(firstColour + i) % 4];
        glColor3f(c[0], c[1], c[2]);
        look.sideOffset = 0.03f * i;
        drawStripPoints(points, look);
    }
}

void drawChainLink(float t, double lengthFactor, double bend, Vec3& position, Vec3& direction, int& linkCounter) {
    if (drawTrace) traceDraw("chainLink", "", {{"length", lengthFactor}, {"bend", bend}});
    linksDrawn++;
    linkCounter++;
    RibbonPath path;
    path.reserve(22);
    Turtle strand = {position, direction};
    walk(strand, path, 20, 0, static_cast<float>(0.05 * lengthFactor), 0.01f);
    position = strand.position;
    double drop = chainLinkDrop(t, linksDrawn);

    static const float STRAND[4][3] = {{1, 0, 0}, {1, 1, 0}, {1, 1, 0}, {0, 0, 1}};
    glPushMatrix();
    glTranslatef(0, static_cast<float>(drop), 0);
    glRotatef(static_cast<float>(3 * drop), 0, 0, 1);
    glTranslatef(0, 0, static_cast<float>(0.03 * signedParity(linkCounter) - 0.1));
    drawStripes(path, STRAND, 0);
    glPopMatrix();

    // The eye: a loop so small that its four offset stripes become rings,
    // their colours stepping round twice a second.
    path.clear();
    Turtle eye = {position, direction.normalized() * 0.01f};
    walk(eye, path, 22, 18, 0.01f, 0.015f);
    direction = turned(direction, static_cast<float>(bend));
    static const float EYE[4][3] = {{1, 0, 0}, {1, 1, 0}, {1, 0, 1}, {0, 0, 1}};
    int beat = trunc32(2.0 * t) % 4;
    glPushMatrix();
    glTranslatef(0, static_cast<float>(drop), 0);
    drawStripes(path, EYE, beat < 0 ? beat + 4 : beat);
    glPopMatrix();
}

void drawBraid(float t, double angle, double phase, double amplitude, float k0) {
    if (drawTrace) traceDraw("braid", "", {{"angle", angle}, {"phase", phase}, {"amplitude", amplitude}});
    Vec3 position = {0, 0, 0};
    Vec3 direction = turned({1, 0, 0}, static_cast<float>(angle));
    int links = 0;
    glPushMatrix();
    for (int i = 0; i < 7; i++) {
        phase -= rnd() * 1.12;
        double s = std::sin(phase);
        jitter(t, i, true, 0.3f);  // stays for the links after this one
        double sign = s > 0 ? 1.0 : (s < 0 ? -1.0 : 0.0);
        double bend = std::pow(std::fabs(s), 1.4) * sign * amplitude * ((i + 4) * 1.1 / 12) - 0.22 * k0;
        drawChainLink(t, i == 0 ? 0 : 0.5, bend, position, direction, links);
    }
    glPopMatrix();
}

void drawWave(float t, double angle) {
    if (drawTrace) traceDraw("wave", "", {{"angle", angle}});
    Vec3 position = {0, 0, 0};
    Vec3 direction = turned({1, 0, 0}, static_cast<float>(angle));
    int links = 0;
    for (int i = 0; i < 4; i++) {
        discard(1);
        drawChainLink(t, i == 0 ? 0 : 0.45, -41.07264, position, direction, links);
    }
}
