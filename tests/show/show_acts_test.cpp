// The act table: acts in scene order, and where each starts in raw time,
// worked out by hand from the time map's segment lengths (tempo 1).
#include <gtest/gtest.h>

#include <cstring>

#include "show/scene_timeline.h"
#include "timing/time_map.h"

TEST(ShowActs, RawStartsSkipTheReplays) {
    const TimeMap* map = &showTimeMap();
    for (int act = 1; act < SCENE_ACT_COUNT; act++) {
        EXPECT_LT(ACTS[act - 1].sceneStart, ACTS[act].sceneStart) << ACTS[act].name;
        EXPECT_LT(actRawStart(act - 1), actRawStart(act)) << ACTS[act].name;
        EXPECT_GT(std::strlen(ACTS[act].name), 0u);
    }
    // Raw seconds where segments start: 9 / 0.751 for the slowed opening,
    // then 114, 22 / 1.004, the 4 s replay, 20, 8 / 1.012, 32 / 1.3325.
    const double opening = 9 / 0.751, at145 = opening + 114 + 22 / 1.004;
    const double expected[SCENE_ACT_COUNT] = {
        0,                                     // the opening, flag 5, is no replay
        opening + 4,                           // 13
        opening + 32,                          // 41
        opening + 64,                          // 73
        opening + 80,                          // 89
        opening + 88,                          // 97
        opening + 112,                         // 121
        at145 + 4 + 12,                        // 161: after the replay of 141-145 and the skip to 149
        at145 + 4 + 20,                        // 169
        at145 + 4 + 20 + 8 / 1.012 + 32 / 1.3325,  // 209
    };
    for (int act = 0; act < SCENE_ACT_COUNT; act++) {
        EXPECT_NEAR(actRawStart(act), expected[act], 0.003) << ACTS[act].name;
        int i = timeMapIndex(*map, actRawStart(act));
        EXPECT_NE(map->flags[i], 1);
        EXPECT_NEAR(map->sceneTime[i], ACTS[act].sceneStart, 0.002) << ACTS[act].name;
    }
}
