#include "platform/console.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

void consoleApplyArguments(int argc) {
    if (argc == 2) return;
    fflush(stdout);
    int devNull = open("/dev/null", O_WRONLY);
    if (devNull < 0) return;
    dup2(devNull, STDOUT_FILENO);
    close(devNull);
}
