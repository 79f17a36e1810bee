#include "termcolor.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace termcolor {

const char* escapeFor(Colour c, bool toTerminal) {
    if (!toTerminal) return "";
    switch (c) {
        case Colour::White: return "\033[37m";
        case Colour::BrightGreen: return "\033[92m";
        case Colour::BrightCyan: return "\033[96m";
        case Colour::BrightRed: return "\033[91m";
        case Colour::Reset: return "\033[0m";
    }
    return "";
}

// Only the standard streams can be terminals here; any other stream (a file,
// a string stream) gets no escapes.
static bool isTerminal(const std::ostream& os) {
    if (&os == &std::cout) return isatty(STDOUT_FILENO) != 0;
    if (&os == &std::cerr || &os == &std::clog) return isatty(STDERR_FILENO) != 0;
    return false;
}

static std::ostream& put(std::ostream& os, Colour c) {
    if (&os == &std::cout) fflush(stdout);  // keep printf and cout output in order
    return os << escapeFor(c, isTerminal(os));
}

std::ostream& white(std::ostream& os) { return put(os, Colour::White); }
std::ostream& bright_green(std::ostream& os) { return put(os, Colour::BrightGreen); }
std::ostream& bright_cyan(std::ostream& os) { return put(os, Colour::BrightCyan); }
std::ostream& bright_red(std::ostream& os) { return put(os, Colour::BrightRed); }
std::ostream& reset(std::ostream& os) { return put(os, Colour::Reset); }

void setStdoutColour(Colour c) {
    std::cout.flush();
    fputs(escapeFor(c, isatty(STDOUT_FILENO) != 0), stdout);
}

}  // namespace termcolor
