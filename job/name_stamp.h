// The base name of each job's files: the local date and time written in
// Chinese, then a five-digit pseudo-random suffix.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "common/clock.h"

namespace tosilk {

// "2024年12月7日12时31分54秒": the date, then the time down to the last field
// that is not zero (nothing at midnight exactly), numbers without leading
// zeros.
std::string DateTimeText(const LocalTime& time);

// The suffix sequence: state 1 at start, advanced by the C runtime's linear
// congruential step, so every run of the program gives the same sequence
// 10041, 28467, 16334, 36500, 29169, 25724, ...
class SuffixGenerator {
 public:
  // Advances the state by one step and returns the next suffix as text.
  // Jobs running at once may share one generator: each step is atomic.
  std::string Next();

 private:
  std::atomic<std::uint32_t> state_ = 1;
};

// The generator of this process, started at program start and never reseeded.
SuffixGenerator& ProcessSuffixes();

}  // namespace tosilk
