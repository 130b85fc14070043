#include "common/process.h"

#include "common/child_process.h"
#include "common/text.h"

namespace tosilk {

ProcessOutcome RunProgram(const std::string& program, const std::vector<std::string>& words) {
  ProcessOutcome outcome;
  ChildProcess::Started started = ChildProcess::Start(program, words);
  if (started.child == nullptr) {
    outcome.start_error = std::move(started.error);
    return outcome;
  }
  outcome.started = true;

  // The pipe is drained before waiting: a child that fills it would
  // otherwise wait for us while we wait for it.
  LastLineCollector collector;
  char buffer[4096];
  while (const std::size_t got = started.child->ReadError(buffer, sizeof buffer)) {
    collector.Feed(std::string_view(buffer, got));
  }
  outcome.last_error_line = collector.Finish();
  outcome.exit = started.child->Wait();
  return outcome;
}

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
  if (!line.empty()) last_ = line;
  current_.clear();
}

std::string LastLineCollector::Finish() {
  EndLine();
  return last_;
}

}  // namespace tosilk
