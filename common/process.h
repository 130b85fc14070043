// Runs a tool as a child process and waits for it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tosilk {

// How a child process ended, as the system tells it.
struct ExitStatus {
  enum class How {
    kExited,     // by its own exit, with `code`
    kSignalled,  // ended by the signal `code` (POSIX)
    kUnknown,    // the system could not tell
  };
  How how = How::kUnknown;
  unsigned long code = 0;

  bool succeeded() const { return how == How::kExited && code == 0; }
};

struct ProcessOutcome {
  bool started = false;
  // The system's reason, when the program could not be started.
  std::string start_error;
  ExitStatus exit;
  // The last line holding more than blanks that it wrote to standard error.
  std::string last_error_line;
};

// Starts the program file `program` with the argument words `words` (words[0]
// is the program word the program sees as its name) and waits, without a time
// limit, for it to end. The child has no window and no console, reads its
// standard input from the null device, writes its standard output there too,
// and writes its standard error into a pipe that is read here as it goes, so
// nothing lands on disk. It inherits the caller's environment and current
// directory. No shell is involved.
ProcessOutcome RunProgram(const std::string& program, const std::vector<std::string>& words);

// Keeps the last line of a stream that holds more than blanks, fed in chunks
// as they arrive. Lines end at LF or CR (progress lines end in CR). Memory is
// bounded: a line longer than kMaxLine bytes keeps only its start.
class LastLineCollector {
 public:
  static constexpr std::size_t kMaxLine = 1000;

  void Feed(std::string_view chunk);
  // The last non-blank line, without its surrounding blanks.
  std::string Finish();

 private:
  void EndLine();

  std::string current_;
  std::string last_;
};

}  // namespace tosilk
