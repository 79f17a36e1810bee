#include "timing/time_map.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct ShowTimeMap : ::testing::Test {
    static void SetUpTestSuite() {
        map.reset(new TimeMap);
        fillShowTimeMap(*map, 1.0f);
    }
    static float scene(float raw) { return map->sceneTime[timeMapIndex(*map, raw)]; }
    static int flag(float raw) { return map->flags[timeMapIndex(*map, raw)]; }
    static std::unique_ptr<TimeMap> map;
};
std::unique_ptr<TimeMap> ShowTimeMap::map;

TEST_F(ShowTimeMap, SegmentsMapRawToSceneTime) {
    EXPECT_GT(scene(12.0f), 9.0f);
    EXPECT_LT(scene(12.0f), 9.05f);
    EXPECT_EQ(flag(12.0f), 0);
    EXPECT_NEAR(scene(150.0f), 143.1f, 0.05f);  // the replayed stretch
    EXPECT_EQ(flag(150.0f), 1);
    EXPECT_NEAR(scene(236.0f), 233.2f, 0.05f);
    EXPECT_EQ(flag(236.0f), 1);
    EXPECT_GE(scene(278.57f), 273.0f);
    EXPECT_LT(scene(278.56f), 273.0f);
    EXPECT_EQ(flag(5.0f), 5);
    // Beyond the last segment the identity entries remain.
    EXPECT_FLOAT_EQ(scene(400.0f), 400.0f);
}

TEST_F(ShowTimeMap, IndexClampsToTheTable) {
    EXPECT_EQ(timeMapIndex(*map, -100.0f), 0);
    EXPECT_EQ(timeMapIndex(*map, 12.3456f), 12345);
    EXPECT_EQ(timeMapIndex(*map, 1200.0f), 999999);
    EXPECT_FLOAT_EQ(scene(-100.0f), 0.0005f);  // every entry carries half a millisecond
}

TEST_F(ShowTimeMap, RefillingGivesTheSameTable) {
    std::unique_ptr<TimeMap> fresh(new TimeMap);
    fillShowTimeMap(*fresh, 1.0f);
    fillShowTimeMap(*fresh, 1.0f);
    for (int i = 0; i < TimeMap::ENTRIES; i += 997) {
        ASSERT_EQ(fresh->sceneTime[i], map->sceneTime[i]) << i;
        ASSERT_EQ(fresh->flags[i], map->flags[i]) << i;
    }
    // Another tempo really refills.
    fillShowTimeMap(*fresh, 2.0f);
    EXPECT_GE(fresh->sceneTime[timeMapIndex(*fresh, 140.0f)], 273.0f);
}

TEST(TimeMapSegment, WritesEitherDirectionAndNeverReachesTheEnd) {
    std::unique_ptr<TimeMap> m(new TimeMap);
    m->segmentFlag = 7;
    m->fillSegment(1.0f, 2.0f, 10.0f, 20.0f);
    EXPECT_FLOAT_EQ(m->sceneTime[1000], 10.0005f);
    EXPECT_LT(m->sceneTime[1999], 20.0f);
    EXPECT_EQ(m->flags[1500], 7);
    EXPECT_FLOAT_EQ(m->sceneTime[2000], 2.0f);  // the end index is not written
    m->fillSegment(4.0f, 3.0f, 0.0f, 1.0f);     // reversed: same entries, from the lower index
    EXPECT_FLOAT_EQ(m->sceneTime[3000], 0.0005f);
    m->fillSegment(5.0f, 5.0f, 0.0f, 1.0f);     // empty
    EXPECT_FLOAT_EQ(m->sceneTime[5000], 5.0f);
    m->fillSegment(999.0f, 1100.0f, 0.0f, 1.0f);  // past the table: writes what fits
    EXPECT_EQ(m->flags[TimeMap::ENTRIES - 1], 7);
}

}  // namespace
