#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "common/unique_fd_posix.h"
#include "tools/silk_codec/codec_file.h"

namespace tosilk::codec {
namespace {

// The temporary file being written, for the termination handler; null while
// there is none. Only changed with the termination signals blocked.
const char* volatile g_temporary_path = nullptr;

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnTermination(int signal_number) {
  if (const char* path = g_temporary_path) unlink(path);
  // End by the signal itself, so the parent sees how the process ended.
  signal(signal_number, SIG_DFL);
  raise(signal_number);
}

// Blocks the termination signals for as long as it lives, so that the
// temporary file and g_temporary_path change together.
class TerminationBlocked {
 public:
  TerminationBlocked() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal_number : kTerminationSignals) sigaddset(&set, signal_number);
    sigprocmask(SIG_BLOCK, &set, &old_);
  }
  TerminationBlocked(const TerminationBlocked&) = delete;
  TerminationBlocked& operator=(const TerminationBlocked&) = delete;
  ~TerminationBlocked() { sigprocmask(SIG_SETMASK, &old_, nullptr); }

 private:
  sigset_t old_;
};

std::string ReadReason(int error) {
  switch (error) {
    case ENOENT: return "no such file";
    case EISDIR: return "it is a directory";
    case EACCES: return "permission denied";
    default: return std::strerror(error);
  }
}

std::string WriteReason(int error) {
  switch (error) {
    case ENOENT: return "folder does not exist";
    case ENOTDIR: return "a part of the path is not a folder";
    case EACCES:
    case EPERM: return "permission denied";
    case EROFS: return "read-only file system";
    case EISDIR: return "it is a directory";
    case ENOSPC: return "no space left on device";
    default: return std::strerror(error);
  }
}

// The temporary file of WriteFileAtomically: removed when this goes away,
// unless it has been renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_.valid()) fd_.reset();
    TerminationBlocked blocked;
    if (created_) unlink(path_.c_str());
    g_temporary_path = nullptr;
  }

  // Creates the file, which must not exist yet; returns errno or 0.
  int Create() {
    TerminationBlocked blocked;
    fd_.reset(open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd_.valid()) return errno;
    created_ = true;
    g_temporary_path = path_.c_str();
    return 0;
  }

  int WriteAll(const uint8_t* data, size_t size) {
    while (size > 0) {
      const ssize_t written = write(fd_.get(), data, size);
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) return errno;
      data += written;
      size -= static_cast<size_t>(written);
    }
    // close reports a delayed write error, such as a full disk over NFS.
    return close(fd_.release()) == 0 ? 0 : errno;
  }

  int RenameTo(const std::string& target) {
    TerminationBlocked blocked;
    if (rename(path_.c_str(), target.c_str()) != 0) return errno;
    created_ = false;
    g_temporary_path = nullptr;
    return 0;
  }

 private:
  std::string path_;
  UniqueFd fd_;
  bool created_ = false;
};

}  // namespace

const char kPathSeparators[] = "/";

InputFile::InputFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error_ = ReadReason(errno);
    return;
  }
  handle_ = fd;
  struct stat info;
  if (fstat(fd, &info) != 0) {
    error_ = ReadReason(errno);
  } else if (S_ISDIR(info.st_mode)) {
    error_ = ReadReason(EISDIR);
  } else {
    size_ = static_cast<uint64_t>(info.st_size);
  }
}

InputFile::~InputFile() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

std::string InputFile::Read(uint8_t* destination, size_t count) {
  while (count > 0) {
    const ssize_t got = read(static_cast<int>(handle_), destination, count);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ReadReason(errno);
    if (got == 0) return "the file got shorter while being read";
    destination += got;
    count -= static_cast<size_t>(got);
  }
  return "";
}

std::optional<std::string> WriteFileAtomically(const std::string& path, const uint8_t* data,
                                               size_t size) {
  // A name that happens to exist already is simply drawn again.
  for (int attempt = 0;; ++attempt) {
    TemporaryFile temporary(TemporaryPathFor(path, RandomSuffix()));
    int error = temporary.Create();
    if (error == EEXIST && attempt < 100) continue;
    if (error == 0) error = temporary.WriteAll(data, size);
    if (error == 0) error = temporary.RenameTo(path);
    if (error == 0) return {};
    return WriteReason(error);
  }
}

void InstallTerminationCleanup() {
  struct sigaction action {};
  action.sa_handler = OnTermination;
  // One cleanup at a time: the others wait until the first has ended the process.
  sigemptyset(&action.sa_mask);
  for (int signal_number : kTerminationSignals) sigaddset(&action.sa_mask, signal_number);
  for (int signal_number : kTerminationSignals) sigaction(signal_number, &action, nullptr);
}

}  // namespace tosilk::codec
