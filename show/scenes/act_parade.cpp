// The tiled wall and the parade, 73 to 89 s.
#include <algorithm>
#include <string>

#include "platform/crt_rand.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"
#include "show/scenes/scene_pieces.h"

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

// Rows of seven, 0.638 apart, hopping once a second each a little after the
// last: fish, angels, a pair of curtains parting, skulls falling in 24th of a
// second steps from 83 s, clouds, knives, saws, and nails with the tanalia
// dropping in sixteenth steps.
void groupParade(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 73 && t < 89)) return;
    const Vec3 c = f.cameraOffset;
    double hopY[7];
    for (int i = 0; i < 7; i++) hopY[i] = 0.5 * 0.039 * hop(t, 1.086 - 0.05 * i) - 0.166;

    for (int i = 0; i < 7; i++) {
        Pushed fish;
        T(1.968, hopY[i], 3.051);
        T(-0.638 * i, 0, 0);
        OT(f, 2.13);
        R(-90);
        S(0.15);
        J(f, 24 + i, 1);
        drawImage(f, "fish2");
    }
    for (int i = 0; i < 7; i++) {
        Pushed angel;
        T(c.x + 1.968, hopY[i], 3.051);
        T(-0.228, 0.291, 0.685);
        T(-0.388 * i, 0, 0);
        OT(f, 2.13);
        if (i % 2 == 0) S(-1, 1, 1);
        S(0.15);
        J(f, 24 + i, 1);
        drawImage(f, "angel");
        white();
    }
    double d = 0.071 * ease((t - 73) * 0.4) + 0.386;
    if (t < 81) d -= 0.071 * ease((t - 79) * 0.095);
    for (int i = 0; i < 2; i++) {
        Pushed curtain;
        if (t >= 81) T(0, 0.145 * 0.1 * (t - 81), 0);
        T(0, c.y - 0.134, 0);
        T(-0.024 - d, -0.118, 0.685);
        T(c.x, 0, 0);
        if (i == 1) T(2 * d, 0, 0);
        T(0.984, -0.016, 3.051);
        T(-0.638, 0.228, 0.008);
        T(-0.638 * i, 0, 0);
        OT(f, 3);
        if (i == 1) S(-1, 1, 1);
        S(0.18);
        if (t < 85) drawImage(f, "kourtina");
    }
    for (int i = 0; i < 7; i++) {
        Pushed skull;
        double y = trunc32(-0.402 * std::max(0.0, t - 83 - 0.4 * i) * 24) / 24.0;
        T(0, y, 0);
        rowBaseP();
        T(-0.638 * i, 0, 0);
        OT(f, 3);
        R((i % 2 ? 1 : -1) * 340 * y);
        S(0.12);
        J(f, 24 + i, 1);
        drawImage(f, "skull");
    }
    for (int i = 0; i < 33; i++) {
        Pushed cloud;
        T(0.559, 0.48, -1);
        crtSrand(4234);  // every cloud draws the same three values
        rowBaseP();
        double u1 = rnd(), u2 = rnd(), u3 = rnd();
        T(0.2 * u3 - 0.638 * i, 0.3 * u2, 0.4 * u1);
        OT(f, 2);
        S(0.115);
        jitter(static_cast<float>(0.5 * t), 624 + i, true, 1);
        drawImage(f, ("cloud" + std::to_string(i % 4 + 1)).c_str());
    }
    for (int i = 0; i < 7; i++) {
        Pushed knife;
        rowBaseQ(f, i);
        S(0.28);
        T(0, 0.5 * hop(t, 1.086 - 0.15 * i), 0);
        J(f, 27 + i, 1);
        drawImage(f, "knife2");
    }
    for (int i = 0; i < 7; i++) {
        Pushed saw;
        T(1.968, -0.016, 3.051);
        T(0.496, 0.024, 0.008);
        T(0.134, 0.15, -0.024);
        T(-0.638 * i, 0, 0);
        OT(f, 3);
        R(-90);
        S(0.28);
        T(0, 0.5 * hop(t, 1.086 - 0.15 * i), 0);
        J(f, 27 + i, 1);
        drawImage(f, "saw");
    }
    auto nailHeight = [&](int i) { return 0.05 * (i % 2) - 0.118 * trunc32((t - 75) * 16) * 0.0625 + 0.433; };
    for (int i = 0; i < 7; i++) {
        Pushed nail;
        T(0.354, nailHeight(i), -0.433);
        T(1.968, -0.016, 3.051);
        T(-0.638 * i, 0, 0);
        OT(f, 3);
        R(-90);
        S(0.15);
        J(f, 6627 + i, 0.2);
        drawImage(f, "nail");
    }
    for (int i = 0; i < 7; i++) {
        Pushed horse;
        T(0.354, nailHeight(i), -0.433);
        T(-0.008, 1, 0);
        T(1.968, -0.016, 3.051);
        T(-0.638 * i, 0, 0);
        OT(f, 3);
        R(-90);
        S(0.3);
        J(f, 6627 + i, 0.2);
        drawImage(f, "tanalia");
    }
}
