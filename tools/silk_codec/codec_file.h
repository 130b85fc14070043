// The file operations of silk_v3_encoder and silk_v3_decoder, with failure
// reasons in the words their one stderr line uses ("no such file",
// "permission denied", ...), or else the system's own text. Paths are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <optional>

namespace tosilk::codec {

// A file open for reading from its start, closed when this goes away.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // Whether the file opened; if not, why ("no such file", "it is a
  // directory", "permission denied", or the system's text).
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  uint64_t size() const { return size_; }

  // Reads exactly `count` bytes at the current position into `destination`.
  // Returns an empty string, or the reason (a file that got shorter is one).
  std::string Read(uint8_t* destination, size_t count);

 private:
  // The descriptor or HANDLE, as an integer, so this header stays neutral.
  intptr_t handle_ = -1;
  uint64_t size_ = 0;
  std::string error_;
};

// Writes `size` bytes to `path` through a temporary file in the same folder,
// named `.<file name>.<12 hex digits>.tmp`, renamed over `path` once
// complete: `path` is either as it was or the whole new file, and on failure
// the temporary file is gone again. The reason on failure is "folder does not
// exist", "a part of the path is not a folder", "permission denied",
// "read-only file system", "it is a directory", "no space left on device" or
// the system's text; nothing on success.
std::optional<std::string> WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size);

// Makes SIGTERM, SIGINT and SIGHUP remove a temporary file that
// WriteFileAtomically is writing before the process ends by the signal. On
// Windows, where a process is ended by TerminateProcess, which cannot be
// caught, it does nothing.
void InstallTerminationCleanup();

// The name of the temporary file beside `path` that WriteFileAtomically
// writes through, with `suffix` as its random part. Shared by both
// platforms' WriteFileAtomically.
std::string TemporaryPathFor(const std::string& path, const std::string& suffix);

// The characters that end a folder in a path: "/", and on Windows "\\" too.
extern const char kPathSeparators[];

// 12 random hexadecimal digits.
std::string RandomSuffix();

}  // namespace tosilk::codec
