// Reads what ffmpeg writes to its standard error while it converts: how long
// the source is and how far it has got, for the progress shown, and the
// lines that tell why a conversion failed, for the reason given.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "job/job_outcome.h"

namespace tosilk {

// "HH:MM:SS.xx" (as ffmpeg writes durations and times) in milliseconds;
// nothing for "N/A" and anything else.
std::optional<long long> ClockMilliseconds(std::string_view text);

class ConverterLines {
 public:
  // `source` is the input path as ffmpeg was given it, which ffmpeg repeats
  // at the start of the lines about opening it.
  explicit ConverterLines(std::string source) : source_(std::move(source)) {}

  // Takes one line, as LineSplitter hands it out.
  void Take(std::string_view line);

  // How far the conversion is, 0 to 100, or -1 while that is not known.
  int percent() const;

  // The cause the lines tell of a failed conversion, and the line telling
  // it; kConverterFailed and nothing when they tell none that is known.
  JobFailure cause() const { return cause_; }
  const std::string& cause_line() const { return cause_line_; }

 private:
  void Classify(JobFailure cause, std::string_view line);

  std::string source_;
  long long duration_ms_ = -1;
  long long done_ms_ = -1;
  JobFailure cause_ = JobFailure::kConverterFailed;
  std::string cause_line_;
};

// The cause that a line of silk_v3_encoder's tells of its failure, or
// kEncoderFailed.
JobFailure EncoderCause(std::string_view line);

}  // namespace tosilk
