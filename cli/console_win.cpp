#include <windows.h>

#include "cli/console.h"
#include "common/wide_win.h"

namespace tosilk::cli {
namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

// A console gets UTF-16 through WriteConsoleW, which shows every character
// whatever the console's code page; a pipe or a file gets the UTF-8 bytes.
void WriteTo(HANDLE handle, std::string_view utf8) {
  if (IsConsole(handle)) {
    const std::wstring wide = Widen(utf8);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  while (!utf8.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) ||
        written == 0) {
      return;
    }
    utf8.remove_prefix(written);
  }
}

class WindowsOutput : public Output {
 public:
  bool terminal() const override { return IsConsole(GetStdHandle(STD_OUTPUT_HANDLE)); }
  void Out(std::string_view utf8) override { WriteTo(GetStdHandle(STD_OUTPUT_HANDLE), utf8); }
  void Error(std::string_view utf8) override { WriteTo(GetStdHandle(STD_ERROR_HANDLE), utf8); }
};

}  // namespace

std::unique_ptr<Output> ProcessOutput() { return std::make_unique<WindowsOutput>(); }

}  // namespace tosilk::cli
