#include "common/command_line.h"

#include "common/text.h"

namespace tosilk {
namespace {

bool NeedsQuotes(std::string_view word) {
  return word.empty() || word.find_first_of(" \t") != std::string_view::npos;
}

}  // namespace

std::string QuoteArgument(std::string_view word) {
  const bool quoted = NeedsQuotes(word);
  // At worst every byte doubles, plus the two quotes.
  std::string out = ReserveText(word.size() * 2 + 2);
  if (quoted) out += '"';
  std::size_t backslashes = 0;
  for (char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      // 2n+1 backslashes before a quote read back as n backslashes and a
      // literal quote.
      out.append(backslashes * 2 + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  if (quoted) {
    // The closing quote must not be escaped by the word's own backslashes.
    out.append(backslashes * 2, '\\');
    out += '"';
  } else {
    out.append(backslashes, '\\');
  }
  return out;
}

std::string QuoteProgramWord(std::string_view word) {
  if (!NeedsQuotes(word)) return Join({word});
  return Join({"\"", word, "\""});
}

std::string JoinCommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i == 0) {
      line = QuoteProgramWord(words[i]);
    } else {
      line = Join({line, " ", QuoteArgument(words[i])});
    }
  }
  return line;
}

}  // namespace tosilk
