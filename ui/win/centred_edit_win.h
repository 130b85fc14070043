// Makes a one-line edit control show its text line vertically centred: the
// editing area becomes exactly one line high, and the margins above and below
// it become part of the frame, painted in the edit's background colour, so a
// click there does not place the caret.
#pragma once

#include <windows.h>

namespace tosilk {

// Installs the behaviour on `edit`. Call after the edit's font is set.
bool CentreEditLine(HWND edit);

}  // namespace tosilk
