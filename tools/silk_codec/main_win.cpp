#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "tools/silk_codec/wide_win.h"
#include "tools/silk_codec/codec_tool.h"

// wmain, so that paths arrive as the C runtime split the UTF-16 command
// line, with no trip through the ANSI code page.
int wmain(int argc, wchar_t** argv) {
  // The failure line ends in "\n" alone, as on Linux, for the caller to read.
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> words;
  for (int i = 0; i < argc; ++i) words.push_back(tosilk::codec::Narrow(argv[i]));
  return tosilk::codec::RunTool(SILK_CODEC_TOOL, words);
}
