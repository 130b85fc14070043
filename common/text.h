// Texts are std::string holding UTF-8 (a failed allocation of one ends the
// process; see memory.cpp). These are the few text helpers the program needs
// beyond std::string itself.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tosilk {

// Joins the pieces, in order, into one new text, measured first so that it is
// allocated once.
std::string Join(std::initializer_list<std::string_view> pieces);

// Returns `text` without the blanks (space, tab, CR, LF) at its two ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace tosilk
