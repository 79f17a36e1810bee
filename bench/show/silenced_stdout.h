// silenced_stdout.h - the loaders' console log, kept out of a benchmark's
// table for the life of the scope.
#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

struct SilencedStdout {
    int saved;
    SilencedStdout() {
        fflush(stdout);
        saved = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~SilencedStdout() {
        fflush(stdout);
        dup2(saved, 1);
        close(saved);
    }
};
