// The ascent, 209 s to the end: clouds, stars and planets, the ribcage
// figures with breathing curls, balloon, moon and sun, the chain, the black
// at 241 s clearing to the end.
#include "show/scenes/scene_draw.h"
#include "show/scenes/scene_groups.h"

void groupAscent(SceneFrame& f) {
    if (!(f.t >= 209)) return;
}

void groupFade(SceneFrame& f) {
    if (!(f.t >= 241)) return;
}
