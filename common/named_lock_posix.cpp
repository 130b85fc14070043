#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>

#include "common/named_lock.h"
#include "common/unique_fd_posix.h"

namespace tosilk {

// A socket bound to a name in Linux's abstract namespace: binding it is
// atomic, a second bind of the name fails, and the kernel frees the name the
// moment the socket's last descriptor closes, also when its process is
// killed. Nothing is left on disk.
struct NamedLock::Handle {
  UniqueFd socket;
};

NamedLock::NamedLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

NamedLock::~NamedLock() = default;

std::unique_ptr<NamedLock> NamedLock::TryTake(std::string_view name) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  // The leading NUL of sun_path is what puts the name in the abstract
  // namespace.
  if (name.size() + 1 > sizeof address.sun_path) return nullptr;
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return nullptr;
  const socklen_t length =
      static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  if (bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), length) != 0) return nullptr;
  return std::unique_ptr<NamedLock>(new NamedLock(std::make_unique<Handle>(Handle{std::move(fd)})));
}

}  // namespace tosilk
