#include "common/named_lock.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace tosilk {

std::string LockName(std::string_view key) {
  // FNV-1a: the lock only has to tell jobs apart, not resist anyone.
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : key) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char name[32];
  std::snprintf(name, sizeof name, "tosilk-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

}  // namespace tosilk
