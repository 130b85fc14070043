// Our wasm2c runtime: traps, linear memory and tables, as wasm-rt.h declares
// them, and the host's side of it (runtime.h).
#include "tools/silk_codec/runtime/runtime.h"

#include <algorithm>
#include <cstdlib>

#include "tools/silk_codec/runtime/guarded_call.h"
#include "tools/silk_codec/runtime/linear_memory.h"

namespace tosilk::codec {
namespace {

constexpr uint64_t kPageBytes = 65536;
constexpr uint64_t kMiB = 1024 * 1024;
constexpr bool kGuardPages = WASM_RT_MEMCHECK_GUARD_PAGES != 0;

// With guard pages every address the generated code can form, a 32-bit
// address plus a 32-bit offset plus the size of the widest access, lies
// inside the reservation, so it either hits the memory or faults.
constexpr uint64_t kGuardedReservation = (uint64_t{1} << 33) + kPageBytes;

bool g_initialized = false;
uint64_t g_limit = 0;

// Reserves room for a memory that can grow to `wanted` bytes. With guard
// pages that is the fixed reservation above. Without, in a 32-bit process,
// a contiguous range as large as `wanted` may not be free, so smaller ones
// are tried down to `least`; what was had becomes the memory's limit.
uint8_t* Reserve(uint64_t wanted, uint64_t least, uint64_t* reserved) {
  if (kGuardPages) {
    *reserved = kGuardedReservation;
    return ReserveAddressSpace(kGuardedReservation);
  }
  for (uint64_t bytes = wanted; bytes >= least && bytes > 0;) {
    if (uint8_t* base = ReserveAddressSpace(bytes)) {
      *reserved = bytes;
      return base;
    }
    const uint64_t smaller = bytes / 4 * 3 / kPageBytes * kPageBytes;
    bytes = (smaller < least && bytes > least) ? least : smaller;
  }
  return nullptr;
}

}  // namespace

void InitRuntime() {
  if (g_initialized) return;
  InstallFaultHandler();
  g_initialized = true;
}

wasm_rt_trap_t RunGuarded(void (*fn)(void*), void* context) { return CallGuarded(fn, context); }

uint64_t DefaultMemoryLimit() {
  return sizeof(void*) >= 8 ? uint64_t{2048} * kMiB : uint64_t{1536} * kMiB;
}

void SetMemoryLimit(uint64_t bytes) { g_limit = bytes / kPageBytes * kPageBytes; }

uint64_t MemoryLimit() { return g_limit != 0 ? g_limit : DefaultMemoryLimit(); }

const char* TrapText(wasm_rt_trap_t trap) {
  switch (trap) {
    case WASM_RT_TRAP_NONE: return "no trap";
    case WASM_RT_TRAP_OOB: return "out of bounds memory access";
    case WASM_RT_TRAP_INT_OVERFLOW: return "integer overflow";
    case WASM_RT_TRAP_DIV_BY_ZERO: return "integer divide by zero";
    case WASM_RT_TRAP_INVALID_CONVERSION: return "invalid conversion to integer";
    case WASM_RT_TRAP_UNREACHABLE: return "unreachable code reached";
    case WASM_RT_TRAP_CALL_INDIRECT: return "indirect call to a wrong function";
    case WASM_RT_TRAP_UNCAUGHT_EXCEPTION: return "uncaught exception";
    case WASM_RT_TRAP_UNALIGNED: return "unaligned atomic access";
    case WASM_RT_TRAP_EXHAUSTION: return "out of memory";
    case WASM_RT_TRAP_NULL_REF: return "null reference";
    case WASM_RT_TRAP_HOST: return "stopped by the host";
  }
  return "unknown trap";
}

}  // namespace tosilk::codec

using tosilk::codec::g_initialized;
using tosilk::codec::kPageBytes;

extern "C" {

void wasm_rt_trap(wasm_rt_trap_t trap) { tosilk::codec::LeaveGuardedCall(trap); }

bool wasm_rt_is_initialized(void) { return g_initialized; }

void wasm_rt_allocate_memory(wasm_rt_memory_t* memory, uint64_t initial_pages, uint64_t max_pages,
                             bool is64, uint32_t page_size) {
  // silk.wasm has one 32-bit memory of standard pages; nothing else is built.
  if (is64 || page_size != kPageBytes) wasm_rt_trap(WASM_RT_TRAP_EXHAUSTION);
  uint64_t limit_pages = std::min(max_pages, tosilk::codec::MemoryLimit() / kPageBytes);
  if (initial_pages > limit_pages) wasm_rt_trap(WASM_RT_TRAP_EXHAUSTION);

  uint64_t reserved = 0;
  uint8_t* base =
      tosilk::codec::Reserve(limit_pages * kPageBytes, initial_pages * kPageBytes, &reserved);
  if (base == nullptr) wasm_rt_trap(WASM_RT_TRAP_EXHAUSTION);
  if (!tosilk::codec::kGuardPages) limit_pages = reserved / kPageBytes;
  if (!tosilk::codec::CommitAddressSpace(base, 0, initial_pages * kPageBytes)) {
    tosilk::codec::ReleaseAddressSpace(base, reserved);
    wasm_rt_trap(WASM_RT_TRAP_EXHAUSTION);
  }
  tosilk::codec::WatchMemoryRange(base, reserved);
  memory->data = base;
  memory->pages = initial_pages;
  memory->max_pages = limit_pages;
  memory->size = initial_pages * kPageBytes;
  memory->is64 = false;
  memory->reserved = reserved;
}

uint64_t wasm_rt_grow_memory(wasm_rt_memory_t* memory, uint64_t delta) {
  const uint64_t old_pages = memory->pages;
  if (delta > memory->max_pages - old_pages) return UINT64_MAX;
  const uint64_t new_size = (old_pages + delta) * kPageBytes;
  if (delta != 0 && !tosilk::codec::CommitAddressSpace(memory->data, memory->size, new_size)) {
    return UINT64_MAX;
  }
  memory->pages = old_pages + delta;
  memory->size = new_size;
  return old_pages;
}

void wasm_rt_free_memory(wasm_rt_memory_t* memory) {
  if (memory->data == nullptr) return;
  tosilk::codec::UnwatchMemoryRange(memory->data);
  tosilk::codec::ReleaseAddressSpace(memory->data, memory->reserved);
  *memory = wasm_rt_memory_t{};
}

void wasm_rt_allocate_funcref_table(wasm_rt_funcref_table_t* table, uint32_t elements,
                                    uint32_t max_elements) {
  // calloc leaves every entry a null reference: all its fields are null.
  auto* data = static_cast<wasm_rt_funcref_t*>(std::calloc(elements ? elements : 1, sizeof(wasm_rt_funcref_t)));
  if (data == nullptr) wasm_rt_trap(WASM_RT_TRAP_EXHAUSTION);
  table->data = data;
  table->size = elements;
  table->max_size = max_elements;
}

void wasm_rt_free_funcref_table(wasm_rt_funcref_table_t* table) {
  std::free(table->data);
  *table = wasm_rt_funcref_table_t{};
}

}  // extern "C"
