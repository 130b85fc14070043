#include <windows.h>
#include <shlobj.h>

#include <string>

#include "common/paths.h"
#include "common/wide_win.h"

namespace tosilk {

const std::string_view kPathSeparator = "\\";
const std::string_view kExecutableSuffix = ".exe";
const bool kShellStylePaths = false;

std::string ExecutablePath() {
  // GetModuleFileNameW fills the whole buffer when it had to cut the path, so
  // grow it until the answer is shorter than the buffer.
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return Narrow(path);
    }
  }
}

namespace {

// The folder the system names by `id`, or nothing.
std::string KnownFolder(const KNOWNFOLDERID& id) {
  wchar_t* path = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) folder = Narrow(path);
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

std::string HomeFolder() { return KnownFolder(FOLDERID_Profile); }

std::string UserDataFolder() { return KnownFolder(FOLDERID_LocalAppData); }

std::size_t MaxProgramPathLength() { return MAX_PATH - 1; }

std::size_t SystemPathLength(std::string_view path) { return Widen(path).size(); }

std::string PathFromFileUri(std::string_view host, std::string_view path) {
  std::string windows(path);
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  // file://server/share/a.mp3 names \\server\share\a.mp3.
  if (!host.empty() && host != "localhost") return "\\\\" + std::string(host) + windows;
  // file:///C:/a.mp3: the drive comes after the root slash.
  if (windows.size() >= 3 && windows[0] == '\\' && windows[2] == ':') return windows.substr(1);
  return {};
}

bool SetCurrentDirectoryTo(const std::string& directory) {
  return SetCurrentDirectoryW(Widen(directory).c_str()) != 0;
}

}  // namespace tosilk
