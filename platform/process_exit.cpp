#include "platform/process_exit.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

static std::atomic<int> backgroundWorkers{0};

BackgroundWork::BackgroundWork() { backgroundWorkers++; }
BackgroundWork::~BackgroundWork() { backgroundWorkers--; }

void exitProcess(int status) {
    if (backgroundWorkers.load() > 0) {
        fflush(nullptr);
        _exit(status);
    }
    exit(status);
}
