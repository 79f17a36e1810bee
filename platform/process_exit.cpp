#include "platform/process_exit.h"

#include <omp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

void exitProcess(int status) {
    if (omp_in_parallel()) {
        fflush(nullptr);
        _exit(status);
    }
    exit(status);
}
