#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/command_line.h"
#include "common/command_line_cases.h"
#include "common/wide_win.h"

namespace tosilk {
namespace {

// The platform's own splitter, which follows the C runtime's rules.
std::vector<std::string> SplitWithWindows(const std::string& line) {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(Widen(line).c_str(), &count);
  std::vector<std::string> split;
  for (int i = 0; i < count; ++i) split.push_back(Narrow(words[i]));
  LocalFree(words);
  return split;
}

class WindowsCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(WindowsCommandLineTest, RoundTripsThroughCommandLineToArgvW) {
  const CommandLineCase& c = GetParam();
  const std::string line = JoinCommandLine(c.words);
  EXPECT_EQ(SplitWithWindows(line), c.words) << line;
}

INSTANTIATE_TEST_SUITE_P(Words, WindowsCommandLineTest, ::testing::ValuesIn(CommandLineCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tosilk
