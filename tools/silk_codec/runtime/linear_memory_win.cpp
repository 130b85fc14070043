#include "tools/silk_codec/runtime/linear_memory.h"

#include <windows.h>

namespace tosilk::codec {

uint8_t* ReserveAddressSpace(uint64_t bytes) {
  if (bytes > SIZE_MAX) return nullptr;
  return static_cast<uint8_t*>(
      VirtualAlloc(nullptr, static_cast<SIZE_T>(bytes), MEM_RESERVE, PAGE_NOACCESS));
}

bool CommitAddressSpace(uint8_t* base, uint64_t from, uint64_t to) {
  // Committed pages are zeroed by the system.
  return VirtualAlloc(base + from, static_cast<SIZE_T>(to - from), MEM_COMMIT, PAGE_READWRITE) !=
         nullptr;
}

void ReleaseAddressSpace(uint8_t* base, uint64_t) { VirtualFree(base, 0, MEM_RELEASE); }

}  // namespace tosilk::codec
