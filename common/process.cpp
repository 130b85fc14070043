#include "common/process.h"

#include "common/cancellation.h"
#include "common/child_process.h"
#include "common/text.h"

namespace tosilk {

ProcessOutcome RunProgram(const std::string& program, const std::vector<std::string>& words,
                          const RunHooks& hooks) {
  ProcessOutcome outcome;
  ChildProcess::Started started = ChildProcess::Start(program, words);
  if (started.child == nullptr) {
    outcome.start_error = std::move(started.error);
    return outcome;
  }
  outcome.started = true;
  ChildProcess& child = *started.child;
  if (hooks.cancellation != nullptr) hooks.cancellation->Attach(&child);

  // The pipe is drained before waiting: a child that fills it would
  // otherwise wait for us while we wait for it.
  LineSplitter lines(hooks.on_error_line);
  char buffer[4096];
  while (const std::size_t got = child.ReadError(buffer, sizeof buffer)) {
    lines.Feed(std::string_view(buffer, got));
  }
  outcome.last_error_line = lines.Finish();
  // Detached before the wait reaps it, so that a cancel can never signal a
  // process that has already been waited for.
  if (hooks.cancellation != nullptr) {
    hooks.cancellation->Detach();
    outcome.cancelled = hooks.cancellation->cancelled();
  }
  outcome.exit = child.Wait();
  return outcome;
}

void LineSplitter::Feed(std::string_view chunk) {
  for (char c : chunk) {
    if (c == '\n' || c == '\r') {
      EndLine();
    } else if (current_.size() < kMaxLine) {
      current_ += c;
    }
  }
}

void LineSplitter::EndLine() {
  const std::string_view line = TrimBlanks(current_);
  if (!line.empty()) {
    last_ = line;
    if (each_line_) each_line_(last_);
  }
  current_.clear();
}

std::string LineSplitter::Finish() {
  EndLine();
  return last_;
}

}  // namespace tosilk
