#include "common/text.h"

namespace tosilk {

std::string Join(std::initializer_list<std::string_view> pieces) {
  std::size_t total = 0;
  for (std::string_view piece : pieces) total += piece.size();
  std::string joined;
  joined.reserve(total);
  for (std::string_view piece : pieces) joined.append(piece);
  return joined;
}

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

}  // namespace tosilk
