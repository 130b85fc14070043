// What the host needs from our wasm2c runtime beyond wasm-rt.h: making calls
// into a module from which a trap returns as a value, and the memory limit.
#pragma once

#include <cstdint>

#include "tools/silk_codec/runtime/wasm-rt.h"

namespace tosilk::codec {

// Prepares the runtime; call once, before anything else of it. On builds that
// check memory with guard pages it installs the handler that turns a fault in
// a module's memory into a trap.
void InitRuntime();

// Runs fn(context). A trap inside it (wasm_rt_trap, or a fault in a module's
// memory) ends fn there and is returned; WASM_RT_TRAP_NONE means fn returned.
// fn and what it calls must not hold objects with destructors across a point
// that can trap: such frames are left without unwinding.
wasm_rt_trap_t RunGuarded(void (*fn)(void* context), void* context);

// Memories allocated from now on grow to at most `bytes` (rounded down to
// whole 64 KiB pages). By default: 2 GiB, all a 32-bit memory can have, in a
// 64-bit process; in a 32-bit process as much contiguous address space as can
// be reserved, up to 1.5 GiB.
void SetMemoryLimit(uint64_t bytes);

// The default limit of SetMemoryLimit in this process.
uint64_t DefaultMemoryLimit();

// The limit in force: the last SetMemoryLimit, or else the default.
uint64_t MemoryLimit();

// A short English description of a trap, such as "out of bounds memory access".
const char* TrapText(wasm_rt_trap_t trap);

}  // namespace tosilk::codec
