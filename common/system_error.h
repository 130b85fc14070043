// A failed system call, as facts: what kind of failure it was, the system's
// own code for it and the system's own text. Putting it into words for the
// user is the business of texts/.
#pragma once

#include <optional>
#include <string>

namespace tosilk {

struct SystemError {
  enum class Kind {
    kOther,
    kNotFound,       // no such file or folder
    kAccessDenied,   // not allowed, or locked by another program
    kDiskFull,       // no space left on the device
    kReadOnly,       // a read-only file system
    kPathTooLong,    // a path or name longer than the system takes
    kNotExecutable,  // not a program this system can run
  };
  Kind kind = Kind::kOther;
  unsigned long code = 0;  // errno, or GetLastError()'s code
  std::string text;        // the system's own description of `code`
};

// Nothing when the call succeeded, else how it failed.
using MaybeError = std::optional<SystemError>;

// The error the calling thread's last failed system call left (errno, or
// GetLastError()).
SystemError LastSystemError();

// The error of the system's code `code`.
SystemError SystemErrorOf(unsigned long code);

}  // namespace tosilk
