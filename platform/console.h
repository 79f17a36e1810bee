// console.h - the show's console: hidden unless the command line keeps it,
// and a level on each line so that a tool can drop the loading detail.
//
// "Hidden" means standard output is silenced; standard error stays visible.
// Lines printed directly (printf, fputs) count as errors: always printed.
//
//   consolePrint(ConsoleLevel::Detail, "Reading... %s\n", path.c_str());
#pragma once

enum class ConsoleLevel {
    Detail,  // loading progress: what is read, compiled, built
    Error,   // warnings and errors: always printed
};

// Silences standard output unless exactly one argument follows the program
// name (argc == 2), which keeps it.
void consoleApplyArguments(int argc);

// Whether Detail lines print. The show prints them (the default); the tools
// drop them unless asked to be verbose.
void consoleKeepDetail(bool keep);

// printf to standard output, unless the level is dropped.
void consolePrint(ConsoleLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));
