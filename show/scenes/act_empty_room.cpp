// The empty room, 89 to 97 s: the figure walks across and back, three
// second figures, the viola, hammers with nails and falling tears.
#include <algorithm>
#include <cmath>

#include "platform/crt_rand.h"
#include "render/pi.h"
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"
#include "show/scenes/scene_pieces.h"

void groupEmptyRoom(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 89 && t < 97)) return;
    Pushed room;
    T(0, 0, 0.8);
    S(0.81);
    OT(f, 1);
    drawImage(f, "emptyroom");
}

// The first figure walks across the room in 190 steps a unit and, at 93 s,
// turns round and walks back.
void groupWalkAcross(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 89 && t < 97)) return;
    Pushed walker;
    crtSrand(4234);
    T(-1, 0, 0);
    double s = trunc32((t - 89) * 190 * 0.5) / 190.0;
    T(t < 93 ? s : 4.02 - s, 0.0389, 0.575);
    jitter(static_cast<float>(0.5 * t), 100, false, 1);
    T(0, 0, 0.024);
    OT(f, 1);
    S(0.7);
    if (t >= 93) S(-1, 1, 1);
    R(180);
    drawMeshTarget(f, f.meshTargetA);
}

// Three copies of the second figure side by side, as shadows.
void groupThreeFigures(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 89 && t < 97)) return;
    for (int i = 0; i < 3; i++) {
        Pushed figure;
        crtSrand(4234 + 4243 * i);
        T(-1, -0.0591, 0);
        T(1.118, 0.52, 0.552);
        if (i == 1) T(0.717, 0, 0);
        if (i == 2) T(-0.685, 0, 0);
        T(0, 0, 0.024);
        OT(f, 13);
        S(0.42, 0.43, 0.5);
        R(180);
        drawMeshTarget(f, f.meshTargetB);
    }
}

// Placed from 89 s on; the viola itself shows until 105 s.
void groupViola(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 89)) return;
    Pushed viola;
    T(0.13, -0.244, 0.614);
    S(0.7);
    J(f, 29, 1);
    OT(f, 1);
    if (t < 105) drawImage(f, "viola");
}

// Two hammers striking on quarter steps, and two nails bobbing under them;
// each nail sinks into the wall by as much as it drops ("OtherFlow").
void groupHammersAndNails(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 89 && t < 97)) return;
    for (int i = 0; i < 2; i++) {
        Pushed hammer;
        T(1.37, -0.346, 0.575);
        T(0.134, 0.197, 0.118);
        if (i == 1) T(-2.992, 0, 0);
        S(0.4);
        double x = PI_TEN_PLACES * t + 0.354 - 0.756 + (i == 1 ? PI_TEN_PLACES : 0);
        hammerStroke(trunc32(4 * x) * 0.25, i);
        J(f, 0, 1);
        OT(f, 3);
        drawImage(f, "hammer");
    }
    for (int i = 0; i < 2; i++) {
        Pushed nail;
        T(0.827, -0.622, 0.512);
        T(0.134, 0.197, 0.118);
        if (i == 1) T(-1.92, 0, 0);
        double x = PI_TEN_PLACES * t + 0.354 - 1 + (i == 1 ? PI_TEN_PLACES : 0);
        S(0.1);
        double a = trunc32(4 * x) * 0.25;
        double sign = std::sin(a) < 0 ? -1 : 1;
        double m = std::max(0.0, std::pow(std::fabs(std::sin(a - 0.2)), 4) * sign);
        double y = -1.2 * m;
        T(0, y, 0);
        R(-90);
        setOtherFlow(f, y);
        OT(f, 11);
        drawImage(f, "nail");
        setOtherFlow(f, 0);
    }
}

// Fifteen tears falling in 32nd-of-a-unit steps, until 104.756 s.
void groupTears(SceneFrame& f) {
    double t = f.t;
    if (!(t >= 89 && t < 104.756)) return;
    for (int i = 0; i < 15; i++) {
        Pushed tear;
        dropTear(f, 10 * i + 300, 0.2, 0.3, 0.05, i);
    }
}
