// What tosilk-cli says of its files as they end: on a terminal a progress
// line kept up to date and a line for each failure; to a pipe or a file one
// plain line per file, or one JSON object per line, in the order of the
// files given.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/console.h"
#include "job/job_outcome.h"
#include "job/sources.h"

namespace tosilk::cli {

// One JSON object on one line: source, output, ok, reason, kind ("skipped"
// for a file of a folder that is no audio), duration_ms (of the audio; 0
// when none was made) and elapsed_ms. Keys are ASCII, values UTF-8.
std::string JsonLine(const JobOutcome& outcome, bool passed_over,
                     std::chrono::milliseconds elapsed);

class Report {
 public:
  enum class Mode { kTerminal, kPlain, kJson };

  Report(Output& output, Mode mode, const std::vector<Source>& sources);

  // A job began work on `index`.
  void Began(std::size_t index);
  // The job of `index` ended with `outcome` after `elapsed`.
  void Ended(std::size_t index, const JobOutcome& outcome, std::chrono::milliseconds elapsed);
  // All jobs have ended; on a terminal the summary, or that it was
  // interrupted.
  void Finish(bool interrupted);

  std::size_t failed() const { return failed_; }

 private:
  void ShowProgress();

  Output& output_;
  Mode mode_;
  const std::vector<Source>& sources_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  // Lines of files that ended before one given earlier, kept until it has.
  std::vector<std::optional<std::string>> waiting_;
  std::size_t next_to_write_ = 0;
  std::size_t ended_ = 0;
  std::size_t succeeded_ = 0;
  std::size_t failed_ = 0;
  std::size_t passed_over_ = 0;
  std::string current_;
  std::size_t progress_width_ = 0;  // of the progress line shown, in bytes
};

}  // namespace tosilk::cli
