#include <windows.h>

#include <string>
#include <vector>

#include "common/wide_win.h"
#include "tools/standin/standin.h"

// wmain, so that the words arrive as the C runtime split the UTF-16 command
// line, with no trip through the ANSI code page.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> words;
  for (int i = 0; i < argc; ++i) words.push_back(tosilk::Narrow(argv[i]));
  return tosilk::standin::Run(STANDIN_ROLE, GetCurrentProcessId(), words);
}
