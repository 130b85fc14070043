// The platform's part of RunProgram (process.h): starting a child whose
// standard error comes through a pipe, reading that pipe, ending the child
// and waiting for it. One implementation per platform, in process_posix.cpp
// and process_win.cpp; the sequence that uses them is in process.cpp.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "common/process.h"

namespace tosilk {

class ChildProcess {
 public:
  struct Started;

  // Starts `program` as RunProgram describes. On failure `child` is null and
  // `error` says why.
  static Started Start(const std::string& program, const std::vector<std::string>& words);

  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Reads the next piece of the child's standard error into `buffer`, waiting
  // for it. Returns 0 at the end: once no process holds the pipe's write end
  // any more, or, on Windows (where a console host may keep it open), once
  // the child has ended and the pipe is empty.
  std::size_t ReadError(char* buffer, std::size_t size);

  enum class Ending { kAsk, kForce };
  // Asks the child to end (SIGTERM) or ends it at once (SIGKILL; Windows
  // ends it at once either way). Safe while another thread reads or waits.
  void End(Ending how);

  // Waits without a time limit for the child to end, and says how it did.
  ExitStatus Wait();

 private:
  struct Handles;
  explicit ChildProcess(std::unique_ptr<Handles> handles);

  std::unique_ptr<Handles> handles_;
};

struct ChildProcess::Started {
  std::unique_ptr<ChildProcess> child;
  SystemError error;
};

}  // namespace tosilk
