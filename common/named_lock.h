// A lock named by a text that at most one holder on this machine has at a
// time, and that the system gives up when its holder's process ends, in
// whatever way it ends. A job holds one for its files, so that a later start
// of the program can tell abandoned files from those of a job still running.
#pragma once

#include <memory>
#include <string_view>

namespace tosilk {

class NamedLock {
 public:
  // Takes the lock named `name`; null when someone holds it already (this
  // process included) or it cannot be made.
  static std::unique_ptr<NamedLock> TryTake(std::string_view name);

  ~NamedLock();
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;

 private:
  struct Handle;
  explicit NamedLock(std::unique_ptr<Handle> handle);

  std::unique_ptr<Handle> handle_;
};

// A name for a lock from any text, short and of plain characters: "tosilk-"
// and a 64-bit hash of `key` in hexadecimal.
std::string LockName(std::string_view key);

}  // namespace tosilk
