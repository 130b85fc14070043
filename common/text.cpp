#include "common/text.h"

#include <cstdio>
#include <limits>
#include <new>
#include <stdexcept>

#include "common/fatal.h"

namespace tosilk {

std::string ReserveText(std::size_t bytes) {
  std::string text;
  try {
    text.reserve(bytes);
  } catch (const std::bad_alloc&) {
    FatalOutOfTextMemory(bytes);
  } catch (const std::length_error&) {
    FatalOutOfTextMemory(bytes);
  }
  return text;
}

std::string Join(std::initializer_list<std::string_view> pieces) {
  std::size_t total = 0;
  for (std::string_view piece : pieces) {
    // A sum that would wrap around cannot be allocated anyway; saturating
    // keeps the number in the fatal message meaningful.
    if (piece.size() > std::numeric_limits<std::size_t>::max() - total) {
      FatalOutOfTextMemory(std::numeric_limits<std::size_t>::max());
    }
    total += piece.size();
  }
  std::string joined = ReserveText(total);
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

std::string DecimalText(long long value) {
  char digits[24];
  const int length = std::snprintf(digits, sizeof digits, "%lld", value);
  return Join({std::string_view(digits, static_cast<std::size_t>(length))});
}

}  // namespace tosilk
