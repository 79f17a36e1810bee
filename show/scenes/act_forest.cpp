// The cave and the forest, 97 to 121 s: trees, muscle figures, umbrellas and
// striking axes, fish swimming past from 113 s, and the moon strip.
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

void groupCave(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 97 && t < 120)) return;
    Pushed cave;
    T(0, 0.1, 0.8);
    S(0.81);
    J0(f, 0, 0.34);
    OT(f, 1);
    drawImage(f, "cave");
}

void groupMoonStrip(SceneFrame& f) {
    if (!(f.t >= 97)) return;
}

void groupForestTrees(SceneFrame& f) {
    if (!(f.t >= 97 && f.t < 121)) return;
}

void groupForestMuscles(SceneFrame& f) {
    if (!(f.t >= 97 && f.t < 121)) return;
}

void groupFishSwimmingPast(SceneFrame& f) {
    if (!(f.t >= 113 && f.t < 121)) return;
}

void groupUmbrellas(SceneFrame& f) {
    if (!(f.t >= 97 && f.t < 121)) return;
}

void groupAxes(SceneFrame& f) {
    if (!(f.t >= 97 && f.t < 121)) return;
}
