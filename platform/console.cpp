#include "platform/console.h"

#include <cstdarg>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

// Set once at start, before any loading thread runs.
static bool keepDetail = true;

void consoleApplyArguments(int argc) {
    if (argc == 2) return;
    fflush(stdout);
    int devNull = open("/dev/null", O_WRONLY);
    if (devNull < 0) return;
    dup2(devNull, STDOUT_FILENO);
    close(devNull);
}

void consoleKeepDetail(bool keep) { keepDetail = keep; }

void consolePrint(ConsoleLevel level, const char* format, ...) {
    if (level == ConsoleLevel::Detail && !keepDetail) return;
    va_list arguments;
    va_start(arguments, format);
    vprintf(format, arguments);
    va_end(arguments);
}
