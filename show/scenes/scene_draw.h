// scene_draw.h - the shorthand the scene groups are written in.
//
// The groups read like their notes: T translates, S scales (uniformly or per
// axis), R turns about z and Ry about y, all in degrees and multiplied onto
// the model-view matrix in the order written; OT sets the look of the next
// cut-outs; J shakes at the scene time with a turn, J0 without one.
//
//   Pushed element;              // this element's own push and pop
//   T(-0.261, -0.298, 3.087);
//   S(0.038);
//   OT(f, 5.59);
//   drawImage(f, "logo");
//
// Arguments are doubles, as the notes' arithmetic is; GL takes floats.
#pragma once
#include <GL/glew.h>

#include "assets/sprite_motion.h"
#include "render/motion.h"
#include "show/scenes/scene_frame.h"

inline void T(double x, double y, double z) {
    glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
inline void S(double s) { glScalef(static_cast<float>(s), static_cast<float>(s), static_cast<float>(s)); }
inline void S(double x, double y, double z) {
    glScalef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
inline void R(double degrees) { glRotatef(static_cast<float>(degrees), 0, 0, 1); }
inline void Ry(double degrees) { glRotatef(static_cast<float>(degrees), 0, 1, 0); }

inline void colour(double r, double g, double b) {
    glColor3f(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
}
inline void white() { glColor3f(1, 1, 1); }

// The model-view matrix pushed for the life of the scope.
struct Pushed {
    Pushed() { glPushMatrix(); }
    ~Pushed() { glPopMatrix(); }
    Pushed(const Pushed&) = delete;
    Pushed& operator=(const Pushed&) = delete;
};

inline void OT(SceneFrame& f, double objectType) { f.sprite.ObjectType = static_cast<float>(objectType); }

inline void J(const SceneFrame& f, int index, double amplitude) {
    jitter(f.t, index, true, static_cast<float>(amplitude));
}
inline void J0(const SceneFrame& f, int index, double amplitude) {
    jitter(f.t, index, false, static_cast<float>(amplitude));
}
// J on a clock of its own (a fraction of the scene time, or a held time).
inline void JAt(double time, int index, double amplitude) {
    jitter(static_cast<float>(time), index, true, static_cast<float>(amplitude));
}

inline void moveAlong(Vec3 from, Vec3 to, double rate, double progress, int index, double spin) {
    pathMove(from, to, static_cast<float>(rate), static_cast<float>(progress), index, static_cast<float>(spin));
}

// The registered image of a key; set-up reports a missing key, and then its
// draws draw nothing.
void drawImage(SceneFrame& f, const char* key);
void shatterImage(SceneFrame& f, const char* key, double progress);
// The picture of an image key as a 16:9 screen, cut over `points` points.
void shatterScreen(SceneFrame& f, const char* key, int points, double progress);
// A mesh target's last figure as a cut-out on the scene.
void drawMeshTarget(SceneFrame& f, const RenderTarget& target);
// Sets clipProgram's "OtherFlow" (making it current first): how far a sprite
// sinks from its lower edge. Groups set it back to 0 after their draws.
void setOtherFlow(SceneFrame& f, double value);
// The width / height of an image key's picture (1 when it is missing).
float imageAspect(SceneFrame& f, const char* key);
