// huge_pages.h - the programs that load the whole show ask for huge pages.
//
//   int main(int argc, char** argv) {
//       restartWithHugePages(argv);   // first thing: may start the program again
//
// The software GL clears every texture and render target it allocates, and
// the kernel clears every page it hands out. In 4 KB pages loading the show
// takes about 180 000 page faults, each one costly on a virtual machine: over
// a second of the start. glibc's malloc backs its large blocks with
// transparent huge pages only when told so before the process starts
// (GLIBC_TUNABLES), so the program starts itself once more with that setting
// added, before it has opened or printed anything.
#pragma once

#include <string>

// Replaces the process with the same program and arguments and the setting
// added. Returns, changing nothing, when the setting is already there, when
// the kernel's transparent huge pages are not in "madvise" mode (in "always"
// every process has them, in "never" none does), or when the program cannot
// be started again.
void restartWithHugePages(char** argv);

// The GLIBC_TUNABLES value that adds the setting to `current` (null when
// unset), keeping what it holds; empty when it already names the setting.
std::string tunablesWithHugePages(const char* current);
