#include <windows.h>

#include <chrono>

#include "cli/interrupts.h"
#include "cli/interrupts_state.h"

namespace tosilk::cli {
namespace {

// The system ends the process once the handler returns from a closing
// console, logoff or shutdown, and at the latest after some five seconds;
// the work gets what it can of that to stop and remove its files.
constexpr std::chrono::milliseconds kGraceForClosing{4000};

BOOL WINAPI OnControl(DWORD event) {
  InterruptState& state = TheInterruptState();
  state.Interrupt();
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  std::unique_lock<std::mutex> hold(state.mutex);
  state.finished_changed.wait_for(hold, kGraceForClosing, [&] { return state.finished; });
  return TRUE;
}

}  // namespace

Interrupts::Interrupts() { SetConsoleCtrlHandler(&OnControl, TRUE); }

Interrupts::~Interrupts() { SetConsoleCtrlHandler(&OnControl, FALSE); }

}  // namespace tosilk::cli
