// What the platform's part of Interrupts shares with the neutral part.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

namespace tosilk::cli {

struct InterruptState {
  std::mutex mutex;
  std::function<void()> stop;
  bool interrupted = false;
  bool finished = false;
  std::condition_variable finished_changed;

  // Notes the interrupt and calls `stop`.
  void Interrupt();
};

// The one state of the process.
InterruptState& TheInterruptState();

}  // namespace tosilk::cli
