// The stage, 121 to 161 s: curtains, the saw, the bee swarm, the figure on
// its rope and its fall, nails, hammers, tears and the sea with the old men.
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

void groupStage(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 121 && t < 160)) return;
    Pushed stage;
    T(0.024, 0.024, 0.669);
    S(0.61);
    J0(f, 0, 0.34);
    OT(f, 1);
    drawImage(f, "stage");
}

void groupCurtainPair(SceneFrame& f) {
    if (!(f.t > 110 && f.t < 145)) return;
}

void groupCurtainsInDepth(SceneFrame& f) {
    if (!(f.t > 145 && f.t < 153)) return;
}

void groupSaw(SceneFrame& f) {
    if (!(f.t >= 89 && f.t < 145)) return;
}

void groupBees(SceneFrame& f) {
    if (!(f.t >= 121 && f.t < 146)) return;
}

void groupFigureOnRope(SceneFrame& f) {
    if (!(f.t >= 121 && f.t < 141)) return;
}

void groupFall(SceneFrame& f) {
    if (!(f.t >= 141 && f.t < 145)) return;
}

void groupNailsAndHammers(SceneFrame& f) {
    if (!(f.t >= 145 && f.t < 161)) return;
}

void groupMusclesMarching(SceneFrame& f) {
    if (!(f.t >= 121 && f.t < 132)) return;
}

void groupSeaAndOldMen(SceneFrame& f) {
    if (!(f.t >= 121)) return;
}
