// The tiled wall and the parade, 73 to 89 s.
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

// Nine tiles side by side, each a hair's breadth overlapping the last.
void groupTiledWall(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 73 && t < 89)) return;
    double a = imageAspect(f, "backtile1");
    for (int i = -4, J = -2; i <= 12; i += 2, J++) {
        Pushed tile;
        T(i * a - 0.01 * 0.071 * J, 0, 0.8);
        OT(f, 1);
        drawImage(f, "backtile1");
    }
}

// Rows of fish, angels, curtains, skulls, clouds, knives, saws and nails.
void groupParade(SceneFrame& f) {
    if (!(f.t >= 73 && f.t < 89)) return;
}
