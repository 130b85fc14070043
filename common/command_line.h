// Windows starts a program from one command line, which the program's C
// runtime splits back into words. This joins words so that the split gives
// back exactly those words. It is plain text work, built and tested on every
// platform.
#pragma once

#include <string>
#include <vector>

namespace tosilk {

// Joins `words` into one command line, one space between words. The first is
// the program word, which the C runtime reads up to the next blank (or, when
// it starts with a quote, up to the next quote) with no escapes: it is quoted
// as a whole when it is empty or holds a blank or tab. Each other word is
// quoted by the C runtime's rules: put in double quotes only when it is empty
// or holds a blank or tab, a double quote escaped with a backslash, and
// backslashes doubled only where they stand before a double quote (the
// closing one included). A word that needs none of this stands unchanged.
std::string JoinCommandLine(const std::vector<std::string>& words);

}  // namespace tosilk
