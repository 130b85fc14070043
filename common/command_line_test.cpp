#include "common/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/command_line_cases.h"

namespace tosilk {
namespace {

// Splits a command line by the rules Microsoft documents for its C runtime
// ("Parsing C command-line arguments"): the program word runs to the first
// blank outside quotes, with quotes toggling and no escapes; after it, 2n
// backslashes before a quote give n backslashes and the quote toggles quoting,
// 2n+1 give n backslashes and a literal quote, other backslashes are literal,
// and "" inside quotes is a literal quote.
std::vector<std::string> SplitLikeTheCRuntime(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  const auto blank = [&](std::size_t at) { return line[at] == ' ' || line[at] == '\t'; };

  std::string program;
  bool quoted = false;
  for (; i < line.size() && (quoted || !blank(i)); ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else {
      program += line[i];
    }
  }
  words.push_back(program);

  for (;;) {
    while (i < line.size() && blank(i)) ++i;
    if (i >= line.size()) break;
    std::string word;
    quoted = false;
    while (i < line.size() && (quoted || !blank(i))) {
      std::size_t backslashes = 0;
      while (i < line.size() && line[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < line.size() && line[i] == '"') {
        word.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          word += '"';
          ++i;
        } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          word += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
        continue;
      }
      word.append(backslashes, '\\');
      if (i < line.size() && (quoted || !blank(i))) word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, RoundTripsThroughTheDocumentedSplitter) {
  const CommandLineCase& c = GetParam();
  const std::string line = JoinCommandLine(c.words);
  EXPECT_EQ(SplitLikeTheCRuntime(line), c.words) << line;
  if (c.line != nullptr) {
    EXPECT_EQ(line, c.line);
  }
}

INSTANTIATE_TEST_SUITE_P(Words, CommandLineTest, ::testing::ValuesIn(CommandLineCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tosilk
