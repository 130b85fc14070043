#include "tools/silk_codec/runtime/guarded_call.h"

#include <setjmp.h>

#include <cstdlib>

namespace tosilk::codec {
namespace {

jmp_buf* g_active_call = nullptr;

}  // namespace

// The Windows build checks every access in software, so its memory has no
// guard region, and a fault is never the module's.
void InstallFaultHandler() {}
void WatchMemoryRange(uint8_t*, uint64_t) {}
void UnwatchMemoryRange(uint8_t*) {}

wasm_rt_trap_t CallGuarded(void (*fn)(void*), void* context) {
  jmp_buf here;
  jmp_buf* const outer = g_active_call;
  const int trap = setjmp(here);
  if (trap == 0) {
    g_active_call = &here;
    fn(context);
  }
  g_active_call = outer;
  return static_cast<wasm_rt_trap_t>(trap);
}

void LeaveGuardedCall(wasm_rt_trap_t trap) {
  if (g_active_call == nullptr) std::abort();
  longjmp(*g_active_call, trap);
}

}  // namespace tosilk::codec
