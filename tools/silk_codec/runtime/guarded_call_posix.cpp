#include "tools/silk_codec/runtime/guarded_call.h"

#include <setjmp.h>
#include <signal.h>

#include <cstdlib>

namespace tosilk::codec {
namespace {

struct Range {
  uint8_t* base = nullptr;
  uint64_t bytes = 0;
};

// Plain globals, read by the signal handler: the codec runs on one thread.
constexpr int kMaxRanges = 4;
Range g_ranges[kMaxRanges];
sigjmp_buf* g_active_call = nullptr;

bool InWatchedRange(const void* address) {
  const auto* byte = static_cast<const uint8_t*>(address);
  for (const Range& range : g_ranges) {
    if (range.base != nullptr && byte >= range.base && byte < range.base + range.bytes) return true;
  }
  return false;
}

void OnFault(int signal_number, siginfo_t* info, void*) {
  if (g_active_call != nullptr && InWatchedRange(info->si_addr)) {
    siglongjmp(*g_active_call, WASM_RT_TRAP_OOB);
  }
  // Not the module's memory: give the fault back to the system, which ends
  // the process with the signal once the faulting instruction runs again.
  signal(signal_number, SIG_DFL);
}

}  // namespace

void InstallFaultHandler() {
  // The handler gets a stack of its own, so that a fault from a full stack
  // can still be handled.
  static char alternate_stack[64 * 1024];
  stack_t stack{};
  stack.ss_sp = alternate_stack;
  stack.ss_size = sizeof alternate_stack;
  sigaltstack(&stack, nullptr);

  struct sigaction action {};
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  sigaction(SIGSEGV, &action, nullptr);
  sigaction(SIGBUS, &action, nullptr);
}

void WatchMemoryRange(uint8_t* base, uint64_t bytes) {
  for (Range& range : g_ranges) {
    if (range.base == nullptr) {
      range = {base, bytes};
      return;
    }
  }
  // More memories than ranges: a bug of the host, found by its tests.
  std::abort();
}

void UnwatchMemoryRange(uint8_t* base) {
  for (Range& range : g_ranges) {
    if (range.base == base) range = {};
  }
}

wasm_rt_trap_t CallGuarded(void (*fn)(void*), void* context) {
  sigjmp_buf here;
  sigjmp_buf* const outer = g_active_call;
  // Saving the signal mask matters: the jump out of the fault handler must
  // unblock SIGSEGV again for the next trap.
  const int trap = sigsetjmp(here, 1);
  if (trap == 0) {
    g_active_call = &here;
    fn(context);
  }
  g_active_call = outer;
  return static_cast<wasm_rt_trap_t>(trap);
}

void LeaveGuardedCall(wasm_rt_trap_t trap) {
  if (g_active_call == nullptr) std::abort();
  siglongjmp(*g_active_call, trap);
}

}  // namespace tosilk::codec
