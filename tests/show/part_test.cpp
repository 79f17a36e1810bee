#include "show/part.h"

#include <gtest/gtest.h>

TEST(PartSchedule, PartZeroPlaysUntil28000Seconds) {
    EXPECT_EQ(scheduledPart(0.0f, 0), 0);
    EXPECT_EQ(scheduledPart(27999.9f, 3), 0);
    EXPECT_EQ(scheduledPart(28000.0f, 3), 3);  // outside every range the part stays
    EXPECT_EQ(scheduledPart(-0.01f, 2), 2);
}

namespace {
struct ProbePart : Part {
    int untouched;  // left alone by the constructor: relies on zero-filled memory
    void draw() override {}
    void update() override {}
    void init() override {}
};
}  // namespace

TEST(Part, ConstructedOnZeroedMemory) {
    ProbePart* part = newZeroedPart<ProbePart>();
    EXPECT_EQ(part->untouched, 0);
    EXPECT_EQ(part->time, 0.0f);
    EXPECT_EQ(part->rate, 120.0f);
    EXPECT_EQ(part->progress, 0.0f);
    EXPECT_TRUE(part->message.empty());
    EXPECT_EQ(part->app, nullptr);
    EXPECT_EQ(part->live, nullptr);
    part->~ProbePart();
    free(part);
}
