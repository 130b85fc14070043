// UTF-8 and UTF-16 for the Windows tools, and the system's error texts. The
// tools have their own rather than common/'s, whose failure path shows a
// message box: a tool run by the program must never wait for a click.
#pragma once

#include <string>
#include <string_view>

namespace tosilk::codec {

// Converts UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::wstring Widen(std::string_view utf8);

// Converts UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

// The system's text for the error `code` (from GetLastError), on one line,
// followed by the code.
std::string SystemErrorText(unsigned long code);

}  // namespace tosilk::codec
