#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "common/paths.h"

namespace tosilk {

const std::string_view kPathSeparator = "/";
const std::string_view kExecutableSuffix = "";

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

bool SetCurrentDirectoryTo(const std::string& directory) {
  return chdir(directory.c_str()) == 0;
}

}  // namespace tosilk
