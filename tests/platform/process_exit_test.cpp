#include "platform/process_exit.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <atomic>

namespace {

std::atomic<bool> keepSpinning{true};

// The loading screen's quit, seen on thread 0 while the other decoders are
// still busy: the process ends with the status and its output flushed,
// whatever the workers are doing.
void quitFromInsideAParallelLoop() {
#pragma omp parallel num_threads(3)
    {
        if (omp_get_thread_num() == 0) {
            fprintf(stderr, "quitting while loading");  // no newline: only a flush gets it out
            exitProcess(3);
        }
        while (keepSpinning.load()) {
        }
    }
}

}  // namespace

TEST(ProcessExit, EndsAtOnceInsideAParallelLoop) {
    EXPECT_EXIT(quitFromInsideAParallelLoop(), ::testing::ExitedWithCode(3), "quitting while loading");
}

TEST(ProcessExit, IsAPlainExitElsewhere) {
    EXPECT_EXIT(
        {
            atexit([] { fprintf(stderr, "static clean-up ran"); });
            exitProcess(0);
        },
        ::testing::ExitedWithCode(0), "static clean-up ran");
}
