#include "tools/silk_codec/runtime/linear_memory.h"

#include <sys/mman.h>

namespace tosilk::codec {

uint8_t* ReserveAddressSpace(uint64_t bytes) {
  // MAP_NORESERVE: the reservation is mostly guard region that is never
  // backed, and must not count against the system's commit limit.
  void* base = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  return base == MAP_FAILED ? nullptr : static_cast<uint8_t*>(base);
}

bool CommitAddressSpace(uint8_t* base, uint64_t from, uint64_t to) {
  // Pages of an anonymous mapping read as zero until first written.
  return mprotect(base + from, to - from, PROT_READ | PROT_WRITE) == 0;
}

void ReleaseAddressSpace(uint8_t* base, uint64_t bytes) { munmap(base, bytes); }

}  // namespace tosilk::codec
