#include <windows.h>

#include <string>

#include "common/paths.h"
#include "common/wide_win.h"

namespace tosilk {

const std::string_view kPathSeparator = "\\";
const std::string_view kExecutableSuffix = ".exe";

std::string ExecutablePath() {
  // GetModuleFileNameW fills the whole buffer when it had to cut the path, so
  // grow it until the answer is shorter than the buffer.
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return Narrow(path);
    }
  }
}

bool SetCurrentDirectoryTo(const std::string& directory) {
  return SetCurrentDirectoryW(Widen(directory).c_str()) != 0;
}

}  // namespace tosilk
