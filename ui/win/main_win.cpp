#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "common/fatal.h"
#include "common/paths.h"
#include "common/wide_win.h"
#include "job/encode_job.h"
#include "job/job_files.h"
#include "texts/fatal_texts.h"
#include "ui/win/main_window_win.h"

namespace {

// The files named on the command line (a file dragged onto tosilk.exe, or
// "打开方式"), in the wide form, which the ANSI code page could not hold.
std::vector<std::string> FileArguments() {
  std::vector<std::string> files;
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) files.push_back(tosilk::Narrow(words[i]));
  LocalFree(words);
  return files;
}

}  // namespace

// The program's life: error mode, program folder as current directory, the
// files killed jobs left, the main window, the message loop; it ends with
// the loop's exit code, 0.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // No system box for a drive without a medium or a file that cannot be
  // opened, in this process or the tools it starts (they inherit the mode).
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The shell's folder window (a click on the result) needs COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // A relative source path then names a file in the program folder.
  tosilk::SetCurrentDirectoryTo(tosilk::ProgramDirectory());

  const tosilk::JobSetting setting = tosilk::ProgramJobSetting();
  tosilk::RemoveAbandonedJobFiles(setting);
  tosilk::win::MainWindow window(
      instance,
      [setting](std::string_view source, tosilk::JobSetting::Naming naming,
                const tosilk::JobHooks& hooks) {
        tosilk::JobSetting named = setting;
        named.naming = naming;
        return tosilk::RunEncodingJob(source, named, hooks);
      },
      &tosilk::win::ShowFilesInExplorer);
  if (!window.Open()) tosilk::FatalFailure(tosilk::texts::kMainWindowFailed);
  window.TakeFiles(FileArguments());
  return tosilk::win::RunMessageLoop(window);
}
