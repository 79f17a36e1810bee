// Ordered jobs: each job is consumed once, in order, on the calling thread,
// and workers never run further ahead of the consumer than the bound that
// keeps decoded pictures from piling up in memory.
#include "platform/ordered_jobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

TEST(OrderedJobs, ConsumedInOrderHereWithWorkersBoundedAhead) {
    const int count = 200;
    const int bound = 4 * int(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<int> produced(count, 0), order;
    std::atomic<int> consumed{0}, furthestAhead{0};
    std::thread::id caller = std::this_thread::get_id();
    bool allHere = true;
    runOrderedJobs(
        count,
        [&](int i) {
            produced[size_t(i)]++;
            int ahead = i - consumed.load();
            for (int seen = furthestAhead.load(); ahead > seen && !furthestAhead.compare_exchange_weak(seen, ahead);) {
            }
        },
        [&](int i) {
            allHere = allHere && std::this_thread::get_id() == caller;
            order.push_back(i);
            if (i % 10 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));  // a slow upload now and then
            consumed = i + 1;
        },
        [] {});
    ASSERT_EQ(int(order.size()), count);
    for (int i = 0; i < count; i++) {
        EXPECT_EQ(order[size_t(i)], i);
        EXPECT_EQ(produced[size_t(i)], 1) << i;
    }
    EXPECT_TRUE(allHere);
    EXPECT_LE(furthestAhead.load(), bound);
}
