#include "common/process.h"

#include "common/text.h"

namespace tosilk {

void LastLineCollector::Feed(std::string_view chunk) {
  for (char c : chunk) {
    if (c == '\n' || c == '\r') {
      EndLine();
    } else if (current_.size() < kMaxLine) {
      current_ += c;
    }
  }
}

void LastLineCollector::EndLine() {
  const std::string_view line = TrimBlanks(current_);
  if (!line.empty()) last_ = Join({line});
  current_.clear();
}

std::string LastLineCollector::Finish() {
  EndLine();
  return last_;
}

}  // namespace tosilk
