// The second cave, 161 to 169 s: hammers, a bee and nails; the skull cracks
// at 163.5 s and the balloon shows from 163.6 s.
#include <algorithm>
#include <cmath>

#include "render/pi.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"
#include "show/scenes/scene_pieces.h"

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

// Two hammers parting from 161 s and striking; a bee flying off from
// 161.3 s; two rows of nails sinking a step each second; the skull, cracked
// from 163.5 s; the balloon from 163.6 s; two angels coming down; tears.
void groupSkullCracks(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 161 && t < 169)) return;
    for (int i = 0; i < 2; i++) {
        Pushed hammer;
        T(-1.276, 1.56, 0.661);
        T(2.529, -1.536, -1.1925);
        if (i == 1) S(-1, 1, 1);
        double e = ease((t - 153) * 0.2);
        T(i == 0 ? -0.669 * e : 0.669 * e - 0.348, 0, 0);
        S(0.8);
        double x = PI_TEN_PLACES * t + 0.354 + 0.244 + PI_TEN_PLACES - 0.736 + (i == 1 ? PI_TEN_PLACES : 0);
        hammerStroke(trunc32(4 * x) * 0.25, i);
        J(f, 13 + i, 1);
        OT(f, 3);
        drawImage(f, "hammer");
    }
    {
        Pushed bee;
        T(-0.559, -0.213, -0.527);
        double g = trunc32(16 * std::max(0.0, t - 161.3)) * 0.0625;
        T(-0.748 * g, 0.843 * g * g, 0);
        S(0.14);
        J(f, 54, 2.5);
        OT(f, 3);
        drawImage(f, "bee");
    }
    int n = trunc32(t + 0.5 - 161);
    for (int i = -5; i <= 5; i += 2) {
        Pushed nail;
        T(-0.032, 2.055, -1);
        T(0.3 * i - 0.039, -2.631 - 0.06 * n, 0.7);
        S(0.15);
        R(-90);
        OT(f, 11);
        setOtherFlow(f, 0.402 - 0.417 * n);
        drawImage(f, "nail");
    }
    white();
    for (int i = -5; i <= 5; i += 2) {
        Pushed nail;
        T(-0.347, 3.78, -1);
        T(0.3 * i - 0.039, 0.06 * n - 2.631, 0.7);
        S(0.15);
        R(90);
        OT(f, 11);
        setOtherFlow(f, 0.402 - 0.417 * n);
        drawImage(f, "nail");
    }
    setOtherFlow(f, 0);
    if (t >= 163.6) {
        Pushed balloon;
        double x = 2 * ease(trunc32((t - 165) * 64) / 64.0 * 0.23);
        double y = trunc32((t - 163.6) * 16) * 0.0625 * 0.144 - 0.2;
        T(x - 0.52, 2 * y, (t > 165 ? -0.008 : 0) - 0.5265);
        S(0.35);
        J(f, 1554, 0.4);
        OT(f, 1);
        drawImage(f, "balloon2");
    }
    {
        Pushed skull;
        T(-0.52, -0.394, -0.535);
        S(0.6);
        J(f, 1554, 0.05);
        OT(f, 1);
        colour(0.8, 0.74, 0.78);
        if (t >= 163.5) {
            drawImage(f, "skullcrack3front");
            Pushed back;
            T(0, 0, 0.016);
            drawImage(f, "skullcrack3back");
        } else {
            drawImage(f, "skull");
        }
    }
    double h = std::max(0.2, 1.668 - trunc32((t - 154) * 16) * 0.0625 * 0.243 * 0.5);
    {
        Pushed angel;
        T(1.308, 2 * h, -0.552);
        S(-0.8, 0.8, 0.8);
        J(f, 13554, 0.5);
        OT(f, 2.715);
        drawImage(f, "angel");
    }
    {
        Pushed angel;
        T(-3.372, -0.559, 0.669);
        T(1.308, 2 * h, -0.552);
        S(1.4);
        J(f, 33554, 0.5);
        OT(f, 2.715);
        drawImage(f, "angel");
    }
    for (int j = 0; j < 2; j++) {
        for (int k = 0; k < 15; k++) {
            Pushed tear;
            T(0.354 * j - 0.969, -0.284, -1.3);
            dropTear(f, 542 * j + 10 * k + 300, 0.15, 0.15, 0.04, k);
        }
    }
}
