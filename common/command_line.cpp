#include "common/command_line.h"

#include <string_view>

namespace tosilk {
namespace {

bool NeedsQuotes(std::string_view word) {
  return word.empty() || word.find_first_of(" \t") != std::string_view::npos;
}

void AppendProgramWord(std::string& line, std::string_view word) {
  const bool quoted = NeedsQuotes(word);
  if (quoted) line += '"';
  line += word;
  if (quoted) line += '"';
}

void AppendArgument(std::string& line, std::string_view word) {
  const bool quoted = NeedsQuotes(word);
  if (quoted) line += '"';
  std::size_t backslashes = 0;
  for (char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      // 2n+1 backslashes before a quote read back as n backslashes and a
      // literal quote.
      line.append(backslashes * 2 + 1, '\\');
    } else {
      line.append(backslashes, '\\');
    }
    backslashes = 0;
    line += c;
  }
  if (quoted) {
    // The closing quote must not be escaped by the word's own backslashes.
    line.append(backslashes * 2, '\\');
    line += '"';
  } else {
    line.append(backslashes, '\\');
  }
}

}  // namespace

std::string JoinCommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i == 0) {
      AppendProgramWord(line, words[i]);
    } else {
      line += ' ';
      AppendArgument(line, words[i]);
    }
  }
  return line;
}

}  // namespace tosilk
