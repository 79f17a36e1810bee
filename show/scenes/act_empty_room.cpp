// The empty room, 89 to 97 s: the figure walks across and back, three
// second figures, the viola, hammers with nails and falling tears.
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

void groupEmptyRoom(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 89 && t < 97)) return;
    Pushed room;
    T(0, 0, 0.8);
    S(0.81);
    OT(f, 1);
    drawImage(f, "emptyroom");
}

void groupWalkAcross(SceneFrame& f) {
    if (!(f.t >= 89 && f.t < 97)) return;
}

void groupThreeFigures(SceneFrame& f) {
    if (!(f.t >= 89 && f.t < 97)) return;
}

void groupViola(SceneFrame& f) {
    if (!(f.t >= 89 && f.t < 105)) return;
}

void groupHammersAndNails(SceneFrame& f) {
    if (!(f.t >= 89 && f.t < 97)) return;
}

void groupTears(SceneFrame& f) {
    if (!(f.t >= 89 && f.t < 104.756)) return;
}
