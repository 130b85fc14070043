// Address space for a module's linear memory: reserved once and made usable
// page by page as the memory grows, so growing never moves or copies it.
#pragma once

#include <cstdint>

namespace tosilk::codec {

// Reserves `bytes` of address space that is not yet usable. Returns null if
// the system refuses.
uint8_t* ReserveAddressSpace(uint64_t bytes);

// Makes [base + from, base + to) of a reservation readable and writable, and
// zeroed. Both ends are multiples of 64 KiB. Returns false if the system
// cannot back it with memory.
bool CommitAddressSpace(uint8_t* base, uint64_t from, uint64_t to);

// Gives back a whole reservation of `bytes` made by ReserveAddressSpace.
void ReleaseAddressSpace(uint8_t* base, uint64_t bytes);

}  // namespace tosilk::codec
