// The operating system's part of guarded calls: jumping back out of a call
// into a module when it traps, and catching faults in its memory.
#pragma once

#include <cstdint>

#include "tools/silk_codec/runtime/wasm-rt.h"

namespace tosilk::codec {

// Installs the handler that turns a fault inside [base, base + bytes) during a
// guarded call into WASM_RT_TRAP_OOB. Faults elsewhere are left to kill the
// process, as they are bugs of the host and not of the module. Only builds
// with guard pages need it; on Windows, where memory is checked in software,
// it does nothing.
void InstallFaultHandler();

// Adds and removes a range of a module's memory that faults are trapped in.
// A few memories can be watched at once.
void WatchMemoryRange(uint8_t* base, uint64_t bytes);
void UnwatchMemoryRange(uint8_t* base);

// See RunGuarded in runtime.h.
wasm_rt_trap_t CallGuarded(void (*fn)(void* context), void* context);

// Leaves the innermost guarded call with `trap`. Outside of one, a trap is a
// bug of the host, and the process aborts.
[[noreturn]] void LeaveGuardedCall(wasm_rt_trap_t trap);

}  // namespace tosilk::codec
