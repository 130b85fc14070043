#include "job/converter_lines.h"

#include <algorithm>
#include <cctype>

namespace tosilk {
namespace {

bool Contains(std::string_view text, std::string_view piece) {
  return text.find(piece) != std::string_view::npos;
}

// Whether `text` holds `piece`, letters compared without regard to case.
bool ContainsAnyCase(std::string_view text, std::string_view piece) {
  return std::search(text.begin(), text.end(), piece.begin(), piece.end(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         }) != text.end();
}

// The value after `key` in `line`, up to the next blank or comma.
std::string_view ValueAfter(std::string_view line, std::string_view key) {
  const std::size_t at = line.find(key);
  if (at == std::string_view::npos) return {};
  std::string_view rest = line.substr(at + key.size());
  rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
  return rest.substr(0, rest.find_first_of(" ,"));
}

}  // namespace

std::optional<long long> ClockMilliseconds(std::string_view text) {
  // HH:MM:SS.xx, the hours possibly more than two digits.
  long long fields[3] = {0, 0, 0};
  int field = 0;
  std::size_t i = 0;
  for (; i < text.size() && field < 3; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      fields[field] = fields[field] * 10 + (c - '0');
    } else if (c == ':' && field < 2 && i > 0) {
      ++field;
    } else {
      break;
    }
  }
  if (field != 2 || i == 0) return {};
  long long fraction_ms = 0;
  if (i < text.size() && text[i] == '.') {
    long long scale = 100;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) {
      fraction_ms += (text[i] - '0') * scale;
    }
  }
  if (i != text.size()) return {};
  return ((fields[0] * 60 + fields[1]) * 60 + fields[2]) * 1000 + fraction_ms;
}

void ConverterLines::Take(std::string_view line) {
  // The first duration is the input's; the output's would follow later.
  if (duration_ms_ < 0 && line.starts_with("Duration:")) {
    if (const auto ms = ClockMilliseconds(ValueAfter(line, "Duration:"))) duration_ms_ = *ms;
  }
  if (line.starts_with("size=") || Contains(line, " time=")) {
    if (const auto ms = ClockMilliseconds(ValueAfter(line, "time="))) done_ms_ = *ms;
  }

  if (ContainsAnyCase(line, "No space left on device")) {
    Classify(JobFailure::kDiskFull, line);
  } else if (Contains(line, "does not contain any stream")) {
    Classify(JobFailure::kNoAudioStream, line);
  } else if (Contains(line, "Decoder (codec") && Contains(line, "not found")) {
    Classify(JobFailure::kUnsupportedAudio, line);
  } else if (line.size() > source_.size() + 2 && line.starts_with(source_) &&
             line.substr(source_.size(), 2) == ": ") {
    // ffmpeg says why it cannot open its input as "INPUT: reason".
    const std::string_view why = line.substr(source_.size() + 2);
    if (why == "Permission denied") {
      Classify(JobFailure::kNoPermission, line);
    } else if (why == "Invalid data found when processing input" || why == "Invalid argument") {
      Classify(JobFailure::kNotAudio, line);
    }
  }
}

void ConverterLines::Classify(JobFailure cause, std::string_view line) {
  // The first cause told stands, but a full disk explains anything after it.
  if (cause_ != JobFailure::kConverterFailed && cause != JobFailure::kDiskFull) return;
  cause_ = cause;
  cause_line_ = line;
}

int ConverterLines::percent() const {
  if (duration_ms_ <= 0 || done_ms_ < 0) return -1;
  return static_cast<int>(std::min<long long>(100, done_ms_ * 100 / duration_ms_));
}

JobFailure EncoderCause(std::string_view line) {
  if (ContainsAnyCase(line, "no space left on device")) return JobFailure::kDiskFull;
  if (ContainsAnyCase(line, "input too long")) return JobFailure::kInputTooLong;
  return JobFailure::kEncoderFailed;
}

}  // namespace tosilk
