#include <windows.h>

#include "common/file.h"
#include "common/unique_handle_win.h"
#include "common/wide_win.h"

namespace tosilk {
namespace {

// `path` in the form the W functions take. A full path that is long gets the
// "\\?\" prefix, which lifts the limit of MAX_PATH characters on every
// Windows; such a path is taken literally, so it must already be full and
// use backslashes, which the program's own paths do.
std::wstring SystemPath(const std::string& path) {
  std::wstring wide = Widen(path);
  // Room for a file name of 8.3 characters below a folder, the limit that
  // CreateDirectoryW sets.
  constexpr std::size_t kShortEnough = MAX_PATH - 12;
  if (wide.size() < kShortEnough) return wide;
  if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
  if (wide.starts_with(L"\\\\") && !wide.starts_with(L"\\\\?\\")) {
    return L"\\\\?\\UNC\\" + wide.substr(2);
  }
  return wide;
}

}  // namespace

PathKind KindOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::kDirectory;
  return PathKind::kFile;
}

MaybeError MakeDirectory(const std::string& path) {
  if (CreateDirectoryW(SystemPath(path).c_str(), nullptr)) return {};
  const SystemError error = LastSystemError();
  if (error.code == ERROR_ALREADY_EXISTS && KindOf(path) == PathKind::kDirectory) return {};
  return error;
}

CreateOutcome CreateNewFile(const std::string& path) {
  UniqueHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.valid()) return {CreateResult::kCreated, {}};
  const SystemError error = LastSystemError();
  // A folder of that name answers "access denied" rather than "exists".
  if (error.code == ERROR_FILE_EXISTS || error.code == ERROR_ALREADY_EXISTS ||
      KindOf(path) != PathKind::kMissing) {
    return {CreateResult::kAlreadyExists, {}};
  }
  return {CreateResult::kFailed, error};
}

bool RemoveFile(const std::string& path) { return DeleteFileW(SystemPath(path).c_str()) != 0; }

std::string ReadFileHead(const std::string& path, std::size_t limit) {
  UniqueHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {};
  std::string head(limit, '\0');
  std::size_t filled = 0;
  while (filled < limit) {
    DWORD got = 0;
    if (!ReadFile(file.get(), head.data() + filled, static_cast<DWORD>(limit - filled), &got,
                  nullptr) ||
        got == 0) {
      break;
    }
    filled += got;
  }
  head.resize(filled);
  return head;
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return {};
  }
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::string> FolderEntries(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(SystemPath(path + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring_view name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Narrow(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::string CanonicalPath(const std::string& path) {
  const std::wstring wide = SystemPath(path);
  std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(),
                               nullptr));
  if (full.empty()) return path;
  std::wstring long_form(GetLongPathNameW(full.c_str(), nullptr, 0), L'\0');
  long_form.resize(GetLongPathNameW(full.c_str(), long_form.data(),
                                    static_cast<DWORD>(long_form.size())));
  std::wstring& best = long_form.empty() ? full : long_form;
  // Windows compares names without regard to case.
  CharLowerBuffW(best.data(), static_cast<DWORD>(best.size()));
  return Narrow(best);
}

}  // namespace tosilk
