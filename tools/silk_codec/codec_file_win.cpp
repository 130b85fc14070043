#include <windows.h>

#include "common/unique_handle_win.h"
#include "tools/silk_codec/wide_win.h"
#include "tools/silk_codec/codec_file.h"

namespace tosilk::codec {
namespace {

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ReadReason(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return "no such file";
    case ERROR_ACCESS_DENIED: return "permission denied";
    default: return SystemErrorText(error);
  }
}

std::string WriteReason(DWORD error) {
  switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return "folder does not exist";
    case ERROR_DIRECTORY: return "a part of the path is not a folder";
    case ERROR_ACCESS_DENIED: return "permission denied";
    case ERROR_WRITE_PROTECT: return "read-only file system";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "no space left on device";
    default: return SystemErrorText(error);
  }
}

// The temporary file of WriteFileAtomically: removed when this goes away,
// unless it has been moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    file_.reset();
    if (created_) DeleteFileW(path_.c_str());
  }

  // Creates the file, which must not exist yet; returns the error or 0.
  DWORD Create() {
    file_.reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_.valid()) return GetLastError();
    created_ = true;
    return 0;
  }

  DWORD WriteAll(const uint8_t* data, size_t size) {
    while (size > 0) {
      const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(file_.get(), data, chunk, &written, nullptr)) return GetLastError();
      data += written;
      size -= written;
    }
    file_.reset();
    return 0;
  }

  DWORD MoveTo(const std::wstring& target) {
    if (!MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      return GetLastError();
    }
    created_ = false;
    return 0;
  }

 private:
  std::wstring path_;
  UniqueHandle file_;
  bool created_ = false;
};

}  // namespace

const char kPathSeparators[] = "/\\";

InputFile::InputFile(const std::string& path) {
  const std::wstring wide = Widen(path);
  // CreateFileW refuses a folder only with "access denied"; say what it is.
  if (IsDirectory(wide)) {
    error_ = "it is a directory";
    return;
  }
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error_ = ReadReason(GetLastError());
    return;
  }
  handle_ = reinterpret_cast<intptr_t>(file);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) {
    error_ = ReadReason(GetLastError());
  } else {
    size_ = static_cast<uint64_t>(size.QuadPart);
  }
}

InputFile::~InputFile() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::string InputFile::Read(uint8_t* destination, size_t count) {
  while (count > 0) {
    const DWORD chunk = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), destination, chunk, &got, nullptr)) {
      return ReadReason(GetLastError());
    }
    if (got == 0) return "the file got shorter while being read";
    destination += got;
    count -= got;
  }
  return "";
}

std::optional<std::string> WriteFileAtomically(const std::string& path, const uint8_t* data,
                                               size_t size) {
  const std::wstring target = Widen(path);
  // MoveFileExW cannot replace a folder and says only "access denied".
  if (IsDirectory(target)) return std::string("it is a directory");
  // A name that happens to exist already is simply drawn again.
  for (int attempt = 0;; ++attempt) {
    TemporaryFile temporary(Widen(TemporaryPathFor(path, RandomSuffix())));
    DWORD error = temporary.Create();
    if (error == ERROR_FILE_EXISTS && attempt < 100) continue;
    if (error == 0) error = temporary.WriteAll(data, size);
    if (error == 0) error = temporary.MoveTo(target);
    if (error == 0) return {};
    return WriteReason(error);
  }
}

void InstallTerminationCleanup() {}

}  // namespace tosilk::codec
