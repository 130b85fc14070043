// Texts are std::string holding UTF-8. The helpers here make new texts in one
// allocation and end the process through FatalFailure when that allocation
// cannot be made, so no caller ever sees a failed allocation of text memory.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tosilk {

// Returns an empty text whose capacity holds at least `bytes` bytes. Ends the
// process through FatalFailure, naming `bytes`, when that memory cannot be had.
std::string ReserveText(std::size_t bytes);

// Joins the pieces, in order, into one new text. Measures them first and
// allocates once for the total.
std::string Join(std::initializer_list<std::string_view> pieces);

// Returns `text` without the blanks (space, tab, CR, LF) at its two ends.
std::string_view TrimBlanks(std::string_view text);

// Returns the decimal text of `value`.
std::string DecimalText(long long value);

}  // namespace tosilk
