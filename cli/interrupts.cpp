#include "cli/interrupts.h"

#include "cli/interrupts_state.h"

namespace tosilk::cli {

InterruptState& TheInterruptState() {
  // Never destroyed: a signal may come while the process ends.
  static InterruptState* const state = new InterruptState;
  return *state;
}

void InterruptState::Interrupt() {
  std::function<void()> stop;
  {
    const std::lock_guard<std::mutex> hold(mutex);
    interrupted = true;
    stop = this->stop;
  }
  if (stop) stop();
}

void Interrupts::OnInterrupt(std::function<void()> stop) {
  InterruptState& state = TheInterruptState();
  const std::lock_guard<std::mutex> hold(state.mutex);
  state.stop = std::move(stop);
}

bool Interrupts::interrupted() const {
  InterruptState& state = TheInterruptState();
  const std::lock_guard<std::mutex> hold(state.mutex);
  return state.interrupted;
}

void Interrupts::Finished() {
  InterruptState& state = TheInterruptState();
  {
    const std::lock_guard<std::mutex> hold(state.mutex);
    state.finished = true;
  }
  state.finished_changed.notify_all();
}

}  // namespace tosilk::cli
