// Runs a tool as a child process and waits for it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/system_error.h"

namespace tosilk {

class Cancellation;

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
  // Why the program could not be started.
  SystemError start_error;
  ExitStatus exit;
  // The last line holding more than blanks that it wrote to standard error.
  std::string last_error_line;
  // Whether the run was cancelled while the child ran.
  bool cancelled = false;
};

struct RunHooks {
  // Called on the calling thread with each line the child writes to its
  // standard error, as it arrives (see LineSplitter).
  std::function<void(std::string_view line)> on_error_line;
  // Lets another thread end the child; see cancellation.h.
  Cancellation* cancellation = nullptr;
};

// Starts the program file `program` with the argument words `words` (words[0]
// is the program word the program sees as its name) and waits, without a time
// limit, for it to end. The child has no window and no console, reads its
// standard input from the null device, writes its standard output there too,
// and writes its standard error into a pipe that is read here as it goes, so
// nothing lands on disk. It inherits the caller's environment and current
// directory. No shell is involved. The child never outlives this process: it
// is ended when this process ends, however that happens.
ProcessOutcome RunProgram(const std::string& program, const std::vector<std::string>& words,
                          const RunHooks& hooks = {});

// Splits a stream fed in chunks as they arrive into lines, hands each line
// that holds more than blanks, without its surrounding blanks, to `each_line`
// and keeps the last one. Lines end at LF or CR (progress lines end in CR).
// Memory is bounded: a line longer than kMaxLine bytes keeps only its start.
class LineSplitter {
 public:
  static constexpr std::size_t kMaxLine = 1000;

  explicit LineSplitter(std::function<void(std::string_view line)> each_line = {})
      : each_line_(std::move(each_line)) {}

  void Feed(std::string_view chunk);
  // Ends the last line, and returns the last line that held more than blanks.
  std::string Finish();

 private:
  void EndLine();

  std::function<void(std::string_view line)> each_line_;
  std::string current_;
  std::string last_;
};

}  // namespace tosilk
