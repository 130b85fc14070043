#include <windows.h>

#include "common/system_error.h"
#include "common/wide_win.h"

namespace tosilk {
namespace {

SystemError::Kind KindOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return SystemError::Kind::kNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return SystemError::Kind::kAccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return SystemError::Kind::kDiskFull;
    case ERROR_WRITE_PROTECT:
      return SystemError::Kind::kReadOnly;
    case ERROR_FILENAME_EXCED_RANGE:
      return SystemError::Kind::kPathTooLong;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
      return SystemError::Kind::kNotExecutable;
    default:
      return SystemError::Kind::kOther;
  }
}

// The system's text for `code`, in the user's language, without the line
// break and full stop it ends with.
std::string MessageText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring_view text(buffer, buffer != nullptr ? length : 0);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' ||
                           text.back() == L' ' || text.back() == L'.' ||
                           text.back() == L'。')) {
    text.remove_suffix(1);
  }
  std::string narrow = Narrow(text);
  if (buffer != nullptr) LocalFree(buffer);
  return narrow;
}

}  // namespace

SystemError LastSystemError() { return SystemErrorOf(GetLastError()); }

SystemError SystemErrorOf(unsigned long code) {
  return {KindOf(code), code, MessageText(code)};
}

}  // namespace tosilk
