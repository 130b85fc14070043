// What ends tosilk-cli from outside: Ctrl+C, SIGTERM and SIGHUP on POSIX;
// Ctrl+C, Ctrl+Break, the console window closing, logoff and shutdown on
// Windows. Each makes the work stop, so that the running tools are ended and
// their files removed before the program exits.
#pragma once

#include <functional>

namespace tosilk::cli {

class Interrupts {
 public:
  // On POSIX the signals are blocked in the calling thread, and so in every
  // thread it starts afterwards, and taken by a thread of this object's own:
  // make it before any other thread.
  Interrupts();
  ~Interrupts();
  Interrupts(const Interrupts&) = delete;
  Interrupts& operator=(const Interrupts&) = delete;

  // `stop` is called, on a thread of the system's or of this object's, on
  // every interrupt from now on.
  void OnInterrupt(std::function<void()> stop);

  bool interrupted() const;

  // The work has stopped and its files are gone. A console that is closing
  // waits for this before the system ends the process.
  void Finished();
};

}  // namespace tosilk::cli
