#include "common/wide_win.h"

#include <windows.h>

#include <limits>

#include "common/fatal.h"

namespace tosilk {
namespace {

// The conversion functions take their lengths as int. A text longer than
// that cannot come from a window or a path, and cannot be converted in one
// piece; asking for it is asking for more memory than the call can handle.
int LengthForConversion(std::size_t length, std::size_t bytes_per_unit) {
  if (length > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    FatalOutOfMemory(length * bytes_per_unit);
  }
  return static_cast<int>(length);
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = LengthForConversion(utf8.size(), sizeof(wchar_t));
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = LengthForConversion(utf16.size(), 3);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, narrow.data(), length, nullptr,
                      nullptr);
  return narrow;
}

}  // namespace tosilk
