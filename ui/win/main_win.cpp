#include <windows.h>

#include "common/fatal.h"
#include "common/paths.h"
#include "ui/click_routine.h"
#include "ui/win/main_window_win.h"

// The program's life: error mode, program folder as current directory, the
// main window, the message loop; it ends with the loop's exit code, 0.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // No system box for a drive without a medium or a file that cannot be
  // opened, in this process or the tools it starts (they inherit the mode).
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // A relative source path then names a file in the program folder.
  tosilk::SetCurrentDirectoryTo(tosilk::ProgramDirectory());
  tosilk::win::MainWindow window(instance, &tosilk::RunClick);
  if (!window.Open()) tosilk::FatalFailure("加载主窗口失败");
  return tosilk::win::RunMessageLoop(window);
}
