// The second cave, 161 to 169 s: hammers, a bee and nails; the skull cracks
// at 163.5 s and the balloon shows from 163.6 s.
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

void groupSecondCave(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 161 && t < 169)) return;
    Pushed cave;
    T(0.024, 0.024, -0.331);
    S(0.61);
    OT(f, 1);
    drawImage(f, "Mcave1");
    T(-0.024, -0.008, 0.05);
    OT(f, 1);
    drawImage(f, "Mcave2");
}

void groupSkullCracks(SceneFrame& f) {
    if (!(f.t >= 161 && f.t < 169)) return;
}
