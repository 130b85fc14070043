#include <pthread.h>
#include <signal.h>

#include <thread>

#include "cli/interrupts.h"
#include "cli/interrupts_state.h"

namespace tosilk::cli {
namespace {

sigset_t EndingSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  return signals;
}

}  // namespace

Interrupts::Interrupts() {
  const sigset_t signals = EndingSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  // Taken here, one at a time, whichever thread they were sent to; the
  // tools that the jobs start get a clean mask of their own.
  std::thread([signals] {
    for (;;) {
      int taken = 0;
      if (sigwait(&signals, &taken) == 0) TheInterruptState().Interrupt();
    }
  }).detach();
}

Interrupts::~Interrupts() = default;

}  // namespace tosilk::cli
