#include "cli/report.h"

#include <cstdio>

#include "job/source_path.h"
#include "texts/cli_texts.h"
#include "texts/texts.h"

namespace tosilk::cli {
namespace {

std::string JsonString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          quoted += escaped;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

}  // namespace

std::string JsonLine(const JobOutcome& outcome, bool passed_over,
                     std::chrono::milliseconds elapsed) {
  const std::string kind =
      outcome.ok() ? std::string() : passed_over ? "skipped" : std::string(FailureName(outcome.failure));
  return "{\"source\":" + JsonString(outcome.source) +
         ",\"output\":" + (outcome.ok() ? JsonString(outcome.output_path) : "null") +
         ",\"ok\":" + (outcome.ok() ? "true" : "false") +
         ",\"reason\":" + (outcome.ok() ? "null" : JsonString(texts::FailureReason(outcome))) +
         ",\"kind\":" + (outcome.ok() ? "null" : JsonString(kind)) +
         ",\"duration_ms\":" + std::to_string(outcome.audio_ms) +
         ",\"elapsed_ms\":" + std::to_string(elapsed.count()) + "}\n";
}

Report::Report(Output& output, Mode mode, const std::vector<Source>& sources)
    : output_(output), mode_(mode), sources_(sources), waiting_(sources.size()) {
  if (mode_ == Mode::kTerminal) ShowProgress();
}

void Report::Began(std::size_t index) {
  if (mode_ != Mode::kTerminal) return;
  current_ = SourceStem(sources_[index].path);
  ShowProgress();
}

void Report::Ended(std::size_t index, const JobOutcome& outcome,
                   std::chrono::milliseconds elapsed) {
  ++ended_;
  const bool passed_over = PassedOver(sources_[index], outcome);
  const bool counts_as_failure =
      !outcome.ok() && !passed_over && outcome.failure != JobFailure::kCancelled;
  if (outcome.ok()) ++succeeded_;
  if (passed_over) ++passed_over_;
  if (counts_as_failure) ++failed_;

  switch (mode_) {
    case Mode::kTerminal:
      if (counts_as_failure) {
        // Over the progress line, which comes back below it.
        output_.Out("\r" + std::string(progress_width_, ' ') + "\r" +
                    texts::cli::PlainLine(outcome, false) + "\n");
        progress_width_ = 0;
      }
      ShowProgress();
      return;
    case Mode::kPlain:
    case Mode::kJson:
      // A job cancelled on an interrupt has no line: the file was never done.
      if (outcome.failure == JobFailure::kCancelled) {
        waiting_[index] = std::string();
      } else {
        waiting_[index] = mode_ == Mode::kJson ? JsonLine(outcome, passed_over, elapsed)
                                               : texts::cli::PlainLine(outcome, passed_over) + "\n";
      }
      while (next_to_write_ < waiting_.size() && waiting_[next_to_write_]) {
        output_.Out(*waiting_[next_to_write_]);
        waiting_[next_to_write_].reset();
        ++next_to_write_;
      }
      return;
  }
}

void Report::ShowProgress() {
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_);
  const std::string line = texts::cli::ProgressLine(
      ended_, sources_.size(), failed_, elapsed, ended_ < sources_.size() ? current_ : "");
  // Spaces wipe out the end of a longer line shown before.
  const std::size_t pad = progress_width_ > line.size() ? progress_width_ - line.size() : 0;
  output_.Out("\r" + line + std::string(pad, ' '));
  progress_width_ = line.size();
}

void Report::Finish(bool interrupted) {
  if (mode_ != Mode::kTerminal) {
    if (interrupted) output_.Error(std::string(texts::cli::kInterrupted) + "\n");
    return;
  }
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_);
  output_.Out("\r" + std::string(progress_width_, ' ') + "\r");
  output_.Out((interrupted ? std::string(texts::cli::kInterrupted)
                           : texts::cli::Summary(succeeded_, failed_, passed_over_, elapsed)) +
              "\n");
}

}  // namespace tosilk::cli
