#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "common/file.h"
#include "common/unique_fd_posix.h"

namespace tosilk {

PathKind KindOf(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return PathKind::kMissing;
  if (S_ISREG(info.st_mode)) return PathKind::kFile;
  if (S_ISDIR(info.st_mode)) return PathKind::kDirectory;
  return PathKind::kOther;
}

MaybeError MakeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return {};
  const SystemError error = LastSystemError();
  if (error.code == EEXIST && KindOf(path) == PathKind::kDirectory) return {};
  return error;
}

CreateOutcome CreateNewFile(const std::string& path) {
  UniqueFd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.valid()) return {CreateResult::kCreated, {}};
  const SystemError error = LastSystemError();
  if (error.code == EEXIST) return {CreateResult::kAlreadyExists, {}};
  return {CreateResult::kFailed, error};
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

std::optional<std::uint64_t> FileSize(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  return static_cast<std::uint64_t>(info.st_size);
}

std::vector<std::string> FolderEntries(const std::string& path) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(path.c_str()), &closedir);
  if (folder == nullptr) return names;
  while (const dirent* entry = readdir(folder.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  return names;
}

std::string CanonicalPath(const std::string& path) {
  const std::unique_ptr<char, void (*)(void*)> resolved(realpath(path.c_str(), nullptr),
                                                        &std::free);
  return resolved != nullptr ? std::string(resolved.get()) : path;
}

}  // namespace tosilk
