#include <windows.h>

#include <string>
#include <vector>

#include "cli/cli.h"
#include "common/fatal.h"
#include "common/wide_win.h"

namespace {

// A console program's fatal failure goes to its standard error, not into a
// message box that a script would wait on. Converted on the stack: the heap
// may be what just failed.
[[noreturn]] void ShowFatalOnStandardError(std::string_view message) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(error, &mode)) {
    wchar_t wide[1024];
    const int length = MultiByteToWideChar(CP_UTF8, 0, message.data(),
                                           static_cast<int>(message.size() < 1000 ? message.size() : 1000),
                                           wide, 1023);
    if (length > 0) WriteConsoleW(error, wide, static_cast<DWORD>(length), &written, nullptr);
    WriteConsoleW(error, L"\n", 1, &written, nullptr);
  } else {
    WriteFile(error, message.data(), static_cast<DWORD>(message.size()), &written, nullptr);
    WriteFile(error, "\n", 1, &written, nullptr);
  }
  tosilk::ExitFatally();
}

}  // namespace

// wmain, so that the words arrive as UTF-16, with no trip through the ANSI
// code page: file names in any script, and emoji, come through whole.
int wmain(int argc, wchar_t** argv) {
  // No system box for a drive without a medium or a file that cannot be
  // opened, in this process or the tools it starts.
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  tosilk::SetFatalHandler(&ShowFatalOnStandardError);
  tosilk::cli::Interrupts interrupts;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.push_back(tosilk::Narrow(argv[i]));
  const std::unique_ptr<tosilk::cli::Output> output = tosilk::cli::ProcessOutput();
  return tosilk::cli::RunCli(words, tosilk::ProgramJobSetting(), *output, interrupts);
}
