// console.h - the show's console: hidden unless the command line keeps it.
//
// "Hidden" means standard output is silenced; standard error stays visible.
#pragma once

// Silences standard output unless exactly one argument follows the program
// name (argc == 2), which keeps it.
void consoleApplyArguments(int argc);
