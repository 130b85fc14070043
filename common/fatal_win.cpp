#include <windows.h>

#include <iterator>

#include "common/fatal.h"
#include "texts/fatal_texts.h"

namespace tosilk {

void ShowFatalAndExit(std::string_view message) {
  // Converted into a buffer on the stack: the heap may be what just failed.
  wchar_t wide[1024];
  // Each UTF-8 byte yields at most one UTF-16 unit, so a cut input always
  // fits; a character cut in half turns into U+FFFD.
  const int bytes = static_cast<int>(message.size() < 1000 ? message.size() : 1000);
  int length = MultiByteToWideChar(CP_UTF8, 0, message.data(), bytes, wide,
                                   static_cast<int>(std::size(wide)) - 1);
  if (length <= 0) length = 0;
  wide[length] = L'\0';
  wchar_t title[16];
  const int title_length = MultiByteToWideChar(CP_UTF8, 0, texts::kFatalTitle, -1, title,
                                               static_cast<int>(std::size(title)));
  if (title_length <= 0) title[0] = L'\0';
  MessageBoxW(nullptr, wide, title, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  ExitFatally();
}

void ExitFatally() { ExitProcess(static_cast<UINT>(-1)); }

}  // namespace tosilk
