// The captured figures drawn into their off-screen targets (groups 32 and
// 33): which clip and frame at which time, and how each is turned and placed
// in front of the fixed mesh camera. The scenes composite the targets later.
#include "show/scenes/figures.h"

#include <GL/glew.h>

#include "assets/draw_trace.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

bool drawsIntoMeshTargetA(float t) { return t < 21 || (t > 35 && t < 57) || t > 57; }

bool drawsIntoMeshTargetB(float t) { return t < 53 || (t >= 89 && t < 160 && !(t > 97 && t < 145)); }

struct FigureChoice {
    const MeshSequence* clip;
    const char* name;
    int frame;  // before the modulo by the clip's frame count
};

// Frames of a clip captured at 25 per second, played at `rate` steps a second.
static int capturedFrame(double t, int rate) { return trunc32(rate * t) * 25 / rate; }

static FigureChoice figureForTargetA(const SceneFrame& f) {
    double t = f.t;
    const MeshClips& c = f.clips;
    if (t < 21) return {&c.walk4800, "walk4800", capturedFrame(t, 2)};
    if (t < 57) return {&c.walk4800, "walk4800", 5};
    if (t < 73) {
        int frame = t < 61 ? capturedFrame(t, 2) : t < 65 ? capturedFrame(t, 14) : 20;
        return {&c.walk800, "walk800", frame};
    }
    if (t < 121) return {&c.walk4502, "walk4502", capturedFrame(t, 7)};
    if (t < 137) return {&c.walk4800, "walk4800", 10};
    if (t < 145) return {&c.walk4208, "walk4208", 0};
    if (t < 209) return {&c.walk4589, "walk4589", 0};
    if (t < 241) return {&c.walk4502, "walk4502", capturedFrame(t, 14)};
    return {&c.walk4502, "walk4502", trunc32((t - 241) * 14) * 20 / 14};
}

// Turned in place from 13 to 35 s, in steps of 7.425 degrees eight times a
// second about a pivot; turned round at 9, 17 and 35 s.
static void placeFigureA(double t) {
    T(0.165, -0.306, 1.695);
    if (t >= 13) T(0, 0.307, 0);
    S(1, 1, 0.2);
    if (t >= 13 && t < 35) {
        T(0.118, 0, -0.89);
        T(0.008, 0, 0.236);
        Ry(211.2 - trunc32(8 * t) * 59.4 * 0.125);
        T(-0.008, 0, -0.236);
    }
    Ry(-90);
    if (t >= 9) Ry(180);
    if (t >= 17 && t < 35) Ry(-27);
    if (t >= 35) Ry(724.8);
    Ry(347.2);

    if (t > 57 && t < 73) {  // the stumble, with the thorn in the hand from 65 s
        Ry(-71.7);
        T(0, -0.261, 0);
        if (t >= 65) {
            T(0.117, -0.45, 1.818);
            T(-0.701, 0.213, 1);
            Ry((0.8 - trunc32((t - 65) * 7) / 7.0 * 0.181) * 100);
        }
        Ry((ease(t - 57) * 0.071 - 0.065) * 300);
    }
    if (t >= 73) {
        S(0.9);
        Ry((ease(t - 57) * 0.071 - 0.065) * 300);
        if (t >= 89) {
            S(0.9);
            Ry(-90);
        }
        if (t > 121) {  // upside down from just after 121 s
            S(0.8, -0.8, 0.8);
            Ry(-90);
        }
        if (t >= 137) {
            T(-0.055, -0.039, 0.087);
            Ry(-11.64);
        }
        if (t >= 209) {
            if (t >= 265) {
                T(-0.3, 0.0254, 0);
                S(0.6);
            }
            Ry(198.65);
        }
    }
}

static void drawThorn(const SceneFrame& f) {
    Pushed thorn;
    white();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    T(0, 0.9, 0);
    T(-0.0756, -0.1065, -0.197);
    white();
    S(0.113);
    traceDraw("thorn", "");
    glCallList(f.thornList);
}

// Draws frame `frame` of a clip into a target in front of the mesh camera,
// after `place` has set the figure's transform. With `thorn`, the thorn goes
// into the same target before it is resolved.
static void drawFigure(const SceneFrame& f, const FigureChoice& choice, RenderTarget& target, const char* targetName,
                       void (*place)(double), bool thorn) {
    int count = static_cast<int>(choice.clip->frames.size());
    if (count == 0) return;
    int index = choice.frame % count;
    const MeshFrame& frame = choice.clip->frames[index];
    glMatrixMode(GL_MODELVIEW);
    Pushed figure;
    meshCamera();
    place(f.t);
    traceMeshChoice(choice.name, index, targetName);
    drawMeshFrame(!thorn, target, f.objectProgram, frame.texture, frame.displayList, f.sprite.paperTexture.id);
    if (thorn) {
        if (f.t >= 65) drawThorn(f);
        target.resolveColour(1);
    }
    glPopMatrix();  // the mesh camera's
}

void groupFigureIntoTargetA(SceneFrame& f) {
    if (!drawsIntoMeshTargetA(f.t)) return;
    bool stumbling = f.t > 57 && f.t < 73;
    drawFigure(f, figureForTargetA(f), f.meshTargetA, "meshTargetA", placeFigureA, stumbling);
}

static void placeFigureBEarly(double t) {
    T(0.165, -0.306, 1.695);
    if (t >= 13) T(0, 0.307, 0);
    S(1, 1, 0.2);
    Ry(-252.36);
    Ry(347.2);
}

static void placeFigureBLate(double t) {
    T(0.165, -0.306, 1.695);
    T(0, -0.307, 0);
    S(1, 1, 0.2);
    Ry(-252.36);
    if (t >= 141) T(0, 0.708, 0);
    Ry(347.2);
}

// The second figure turning, until 53 s and again from 89 s; held on frames
// 24 and 22 from 144 s. Afterwards the scene target is bound again.
void groupFigureIntoTargetB(SceneFrame& f) {
    double t = f.t;
    const MeshClips& c = f.clips;
    if (t < 53) {
        drawFigure(f, {&c.nude300, "nude300", capturedFrame(t, 2)}, f.meshTargetB, "meshTargetB",
                   placeFigureBEarly, false);
    } else if (drawsIntoMeshTargetB(f.t)) {
        int frame = t >= 153 ? 22 : (t > 144 ? 24 : capturedFrame(t, 2));
        drawFigure(f, {&c.nude300, "nude300", frame}, f.meshTargetB, "meshTargetB", placeFigureBLate, false);
    }
    f.sceneTarget.bind(3);
    glViewport(0, 0, f.sceneTarget.width, f.sceneTarget.height);
}
