#include "common/wide_win.h"

#include <windows.h>

#include <cstdio>
#include <limits>
#include <new>

#include "common/fatal.h"
#include "common/text.h"

namespace tosilk {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  if (utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    FatalOutOfTextMemory(utf8.size() * sizeof(wchar_t));
  }
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide;
  try {
    wide.resize(static_cast<std::size_t>(length));
  } catch (const std::exception&) {
    FatalOutOfTextMemory((static_cast<std::size_t>(length) + 1) * sizeof(wchar_t));
  }
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  if (utf16.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 3)) {
    FatalOutOfTextMemory(utf16.size() * 3);
  }
  const int size = static_cast<int>(utf16.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow = ReserveText(static_cast<std::size_t>(length) + 1);
  narrow.resize(static_cast<std::size_t>(length));
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, narrow.data(), length, nullptr,
                      nullptr);
  return narrow;
}

std::string SystemErrorText(unsigned long code) {
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
  char number[32];
  std::snprintf(number, sizeof number, "错误 %lu", code);
  if (narrow.empty()) return number;
  return Join({narrow, "，", number});
}

}  // namespace tosilk
