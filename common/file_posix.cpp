#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/file.h"
#include "common/unique_fd_posix.h"

namespace tosilk {
namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

}  // namespace

PathKind KindOf(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return PathKind::kMissing;
  if (S_ISREG(info.st_mode)) return PathKind::kFile;
  if (S_ISDIR(info.st_mode)) return PathKind::kDirectory;
  return PathKind::kOther;
}

Status MakeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return Status::Ok();
  const int error = errno;
  if (error == EEXIST && KindOf(path) == PathKind::kDirectory) return Status::Ok();
  return Status::Failed(ErrnoText(error));
}

CreateOutcome CreateNewFile(const std::string& path) {
  UniqueFd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.valid()) return {CreateResult::kCreated, {}};
  const int error = errno;
  if (error == EEXIST) return {CreateResult::kAlreadyExists, {}};
  return {CreateResult::kFailed, ErrnoText(error)};
}

bool RemoveFile(const std::string& path) {
  if (KindOf(path) == PathKind::kDirectory) return false;
  return unlink(path.c_str()) == 0;
}

std::string ReadFileHead(const std::string& path, std::size_t limit) {
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return {};
  std::string head(limit, '\0');
  std::size_t filled = 0;
  while (filled < limit) {
    const ssize_t got = read(fd.get(), head.data() + filled, limit - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
  }
  head.resize(filled);
  return head;
}

}  // namespace tosilk
