#include "platform/huge_pages.h"

#include <gtest/gtest.h>

// The restarted program must see the setting and not start itself again,
// and a user's own tunables must survive the restart.
TEST(HugePages, TunablesAddTheSettingOnceAndKeepTheUsers) {
    EXPECT_EQ(tunablesWithHugePages(nullptr), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(tunablesWithHugePages(""), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(tunablesWithHugePages("glibc.malloc.check=3"), "glibc.malloc.check=3:glibc.malloc.hugetlb=1");
    EXPECT_EQ(tunablesWithHugePages("glibc.malloc.hugetlb=1"), "");
    // A user who set it otherwise (0, or 2 for reserved pages) keeps their choice.
    EXPECT_EQ(tunablesWithHugePages("glibc.malloc.check=3:glibc.malloc.hugetlb=0"), "");
}
