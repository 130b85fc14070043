#include "job/name_stamp.h"

#include <cstdio>

namespace tosilk {

std::string DateTimeText(const LocalTime& t) {
  // Twelve numbers of up to eleven digits and six three-byte characters fit.
  char text[128];
  int length = std::snprintf(text, sizeof text, "%d年%d月%d日", t.year, t.month, t.day);
  const std::size_t room = sizeof text - static_cast<std::size_t>(length);
  if (t.second != 0) {
    length += std::snprintf(text + length, room, "%d时%d分%d秒", t.hour, t.minute, t.second);
  } else if (t.minute != 0) {
    length += std::snprintf(text + length, room, "%d时%d分", t.hour, t.minute);
  } else if (t.hour != 0) {
    length += std::snprintf(text + length, room, "%d时", t.hour);
  }
  return std::string(text, static_cast<std::size_t>(length));
}

std::string SuffixGenerator::Next() {
  std::uint32_t state = state_.load();
  std::uint32_t next = 0;
  do {
    next = state * 214013u + 2531011u;
  } while (!state_.compare_exchange_weak(state, next));
  const std::uint32_t r = (next >> 16) & 0x7FFFu;
  // Asked for in 10000..99999; since r is at most 32767 it lands in
  // 10000..42767.
  return std::to_string(10000 + r % 90000);
}

SuffixGenerator& ProcessSuffixes() {
  static SuffixGenerator generator;
  return generator;
}

}  // namespace tosilk
