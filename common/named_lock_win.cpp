#include <windows.h>

#include "common/named_lock.h"
#include "common/unique_handle_win.h"
#include "common/wide_win.h"

namespace tosilk {

// A named mutex object: it exists for as long as some process holds a handle
// to it, and the system closes a process's handles when it ends, however it
// ends. Whoever creates it holds the lock; whoever finds it existing does
// not. "Global\" makes one name for every session of the machine, so that
// copies of the program run by different users still see each other.
struct NamedLock::Handle {
  UniqueHandle mutex;
};

NamedLock::NamedLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

NamedLock::~NamedLock() = default;

std::unique_ptr<NamedLock> NamedLock::TryTake(std::string_view name) {
  const std::wstring full = L"Global\\" + Widen(name);
  UniqueHandle mutex(CreateMutexW(nullptr, FALSE, full.c_str()));
  if (!mutex.valid() || GetLastError() == ERROR_ALREADY_EXISTS) return nullptr;
  return std::unique_ptr<NamedLock>(
      new NamedLock(std::make_unique<Handle>(Handle{std::move(mutex)})));
}

}  // namespace tosilk
