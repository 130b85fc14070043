// Conversions between the UTF-8 texts of this program and the UTF-16 of the
// Windows W functions. Only the Windows layer includes this header.
#pragma once

#include <string>
#include <string_view>

namespace tosilk {

// Converts UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::wstring Widen(std::string_view utf8);

// Converts UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

}  // namespace tosilk
