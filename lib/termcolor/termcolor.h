// termcolor.h - coloured console text through stream manipulators.
//
//   std::cout << termcolor::bright_red << "ERROR" << termcolor::white << "\n";
//
// Colours are ANSI escape sequences, written only when the stream is a
// terminal: redirected output stays plain text.
#pragma once
#include <ostream>

namespace termcolor {

std::ostream& white(std::ostream& os);
std::ostream& bright_green(std::ostream& os);
std::ostream& bright_cyan(std::ostream& os);
std::ostream& bright_red(std::ostream& os);
std::ostream& reset(std::ostream& os);

// For printf-style callers: the escape for a colour, or "" when standard
// output is not a terminal.
enum class Colour { White, BrightGreen, BrightCyan, BrightRed, Reset };
const char* escapeFor(Colour c, bool toTerminal);
void setStdoutColour(Colour c);

}  // namespace termcolor
