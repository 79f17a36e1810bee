#include "platform/process_exit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

std::atomic<bool> keepSpinning{true};

// The loading screen's quit, seen on the main thread while decoders are
// still busy: the process ends with the status and its output flushed,
// whatever the workers are doing.
void quitWhileWorkersDecode() {
    std::atomic<int> started{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 2; w++)
        workers.emplace_back([&] {
            BackgroundWork working;
            started++;
            while (keepSpinning.load()) {
            }
        });
    while (started.load() < 2) {
    }
    fprintf(stderr, "quitting while loading");  // no newline: only a flush gets it out
    exitProcess(3);
}

}  // namespace

TEST(ProcessExit, EndsAtOnceWhileWorkersDecode) {
    EXPECT_EXIT(quitWhileWorkersDecode(), ::testing::ExitedWithCode(3), "quitting while loading");
}

TEST(ProcessExit, IsAPlainExitElsewhere) {
    EXPECT_EXIT(
        {
            atexit([] { fprintf(stderr, "static clean-up ran"); });
            exitProcess(0);
        },
        ::testing::ExitedWithCode(0), "static clean-up ran");
}
