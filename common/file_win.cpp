#include <windows.h>

#include "common/file.h"
#include "common/unique_handle_win.h"
#include "common/wide_win.h"

namespace tosilk {

PathKind KindOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::kDirectory;
  return PathKind::kFile;
}

Status MakeDirectory(const std::string& path) {
  if (CreateDirectoryW(Widen(path).c_str(), nullptr)) return Status::Ok();
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS && KindOf(path) == PathKind::kDirectory) {
    return Status::Ok();
  }
  return Status::Failed(SystemErrorText(error));
}

CreateOutcome CreateNewFile(const std::string& path) {
  UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.valid()) return {CreateResult::kCreated, {}};
  const DWORD error = GetLastError();
  // A folder of that name answers "access denied" rather than "exists".
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
      KindOf(path) != PathKind::kMissing) {
    return {CreateResult::kAlreadyExists, {}};
  }
  return {CreateResult::kFailed, SystemErrorText(error)};
}

bool RemoveFile(const std::string& path) {
  return DeleteFileW(Widen(path).c_str()) != 0;
}

std::string ReadFileHead(const std::string& path, std::size_t limit) {
  UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {};
  std::string head(limit, '\0');
  std::size_t filled = 0;
  while (filled < limit) {
    DWORD got = 0;
    if (!ReadFile(file.get(), head.data() + filled, static_cast<DWORD>(limit - filled),
                  &got, nullptr) ||
        got == 0) {
      break;
    }
    filled += got;
  }
  head.resize(filled);
  return head;
}

}  // namespace tosilk
