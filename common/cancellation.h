// Lets one thread stop work that another thread is doing: a flag the work
// looks at between its steps, and the child process it is running meanwhile,
// which is asked to end, or ended at once.
#pragma once

#include <mutex>

namespace tosilk {

class ChildProcess;

class Cancellation {
 public:
  // Asks the work to stop; its running child is asked to end (SIGTERM on
  // POSIX, which lets a tool clean up; Windows has no such request and ends
  // it at once). Safe from any thread, any number of times.
  void Cancel();

  // Cancels, and ends the running child at once (SIGKILL), for when asking
  // was not enough.
  void Kill();

  bool cancelled() const;

  // For RunProgram: the child now running under this cancellation, or
  // nothing. A child attached after Cancel() is asked to end at once.
  void Attach(ChildProcess* child);
  void Detach();

 private:
  mutable std::mutex mutex_;
  bool cancelled_ = false;
  bool killed_ = false;
  ChildProcess* child_ = nullptr;
};

}  // namespace tosilk
