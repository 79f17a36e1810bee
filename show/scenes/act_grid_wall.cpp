// The grid wall, 169 to 209 s: the balloon over cloud banks, taps pouring
// curls, coloured ribbons, cars and Greek backdrops.
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

// Five rows by seven columns of the same picture.
void groupGridWall(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 169 && t < 209)) return;
    for (int i = -2; i <= 2; i++) {
        for (int j = -2; j <= 4; j++) {
            Pushed tile;
            T(1.212 * j, 1.212 * i, 0);
            T(0.024, 0.024, -0.331);
            S(0.61);
            OT(f, 1);
            drawImage(f, "back3");
        }
    }
}

void groupGridWallRibbons(SceneFrame& f) {
    if (!(f.t >= 169 && f.t < 209)) return;
}
