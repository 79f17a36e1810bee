#include "termcolor.h"

#include <gtest/gtest.h>
#include <sstream>

TEST(Termcolor, EscapesOnlyForTerminals) {
    EXPECT_STREQ(termcolor::escapeFor(termcolor::Colour::BrightRed, true), "\033[91m");
    EXPECT_STREQ(termcolor::escapeFor(termcolor::Colour::BrightCyan, true), "\033[96m");
    EXPECT_STREQ(termcolor::escapeFor(termcolor::Colour::BrightGreen, false), "");
    // A stream that is not a terminal keeps its text plain.
    std::ostringstream os;
    os << termcolor::bright_green << "ok" << termcolor::white;
    EXPECT_EQ(os.str(), "ok");
}
