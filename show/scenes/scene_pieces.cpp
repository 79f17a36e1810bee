#include "show/scenes/scene_pieces.h"

#include <algorithm>
#include <cmath>

#include "show/scenes/scene_draw.h"

void rowBaseP() {
    T(1.968, -0.016, 3.051);
    T(-0.638, 0.228, 0.008);
}

void rowBaseQ(SceneFrame& f, int i) {
    T(1.968, -0.016, 3.051);
    T(0.496, 0.024, 0.008);
    T(-0.638 * i, 0, 0);
    OT(f, 3);
    R(-90);
}

void forestBase() {
    double b = rnd();
    double c = rnd();
    T(0.6 * c - 0.48, 0.1 - 0.2 * b - 1 - 1.866 + 0.05, 0.118);
}

void hammerStroke(double a, int i) {
    double s = std::sin(a);
    double sign = s < 0 ? -1 : 1;
    T(0, 0.6, 0);
    if (i == 0) {
        double m = std::max(0.0, std::pow(std::fabs(s), 6) * sign);
        R(80 * m - 86.4);
    } else {
        R(90);
        double m = std::max(0.0, std::pow(std::fabs(s), 8) * sign);
        R(-6.4 - 80 * m);
    }
    T(0, -0.6, 0);
}

void dropTear(SceneFrame& f, int skip, double spread, double speed, double size, int index) {
    fixedLayout(42366, skip);
    double d1 = rnd();
    double d2 = rnd();
    double fall = std::pow(std::fmod(10 * d2 + speed * f.t, 1.0), 1.5);
    double d3 = rnd();
    T(spread * d1 - spread / 2, trunc32(-3 * fall * 32) * 0.03125, 0);
    T(-0.892, 0.126, 0.181);
    T(0.827, -0.622, 0.512);
    T(0.134, 0.197, 0.118);
    S(size * (d3 + 1));
    setOtherFlow(f, 0);
    OT(f, 1);
    colour(1, 0.5, 0.5);
    J(f, 823 + index, 0.5);
    drawImage(f, "tear");
    white();
}
