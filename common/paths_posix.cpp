#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "common/paths.h"

namespace tosilk {

const std::string_view kPathSeparator = "/";
const std::string_view kExecutableSuffix = "";
const bool kShellStylePaths = true;

std::string ExecutablePath() {
  // readlink does not say whether it cut the path short, so grow the buffer
  // until the answer leaves room to spare.
  for (std::size_t size = PATH_MAX;; size *= 2) {
    std::string path(size, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), size);
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < size) {
      path.resize(static_cast<std::size_t>(length));
      return path;
    }
  }
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home != nullptr ? home : "";
}

std::string UserDataFolder() {
  // The XDG base directory rules: a relative XDG_DATA_HOME is to be ignored.
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home != nullptr && data_home[0] == '/') return data_home;
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  return home + "/.local/share";
}

std::size_t MaxProgramPathLength() { return PATH_MAX - 1; }

std::size_t SystemPathLength(std::string_view path) { return path.size(); }

std::string PathFromFileUri(std::string_view host, std::string_view path) {
  if (!host.empty() && host != "localhost") return {};
  return std::string(path);
}

bool SetCurrentDirectoryTo(const std::string& directory) {
  return chdir(directory.c_str()) == 0;
}

}  // namespace tosilk
