// Start-up of the Qt program: everything that happens before its event loop
// runs.
#pragma once

#include <memory>
#include <string_view>

#include "ui/qt/main_window_qt.h"

namespace tosilk {

// The fatal handler of the Qt program: shows `message` in a critical message
// box with an OK button, waits until the user has closed it, and ends the
// process with -1 (255). The message also goes to standard error, which is
// all that is left when not even the box can be made. Needs a QApplication.
[[noreturn]] void ShowFatalInMessageBox(std::string_view message);

// Routes fatal failures to the message box, fixes the program folder and
// makes it the current directory, then builds the main window on the
// program's own click routine and shows it, normal and activated. A window
// that cannot be built is a fatal failure. Needs a QApplication.
[[nodiscard]] std::unique_ptr<qt::MainWindow> StartUp();

}  // namespace tosilk
