#include "common/paths.h"

namespace tosilk {

std::string DirectoryOf(std::string_view path, std::string_view separator) {
  // UTF-8 never uses an ASCII byte inside a longer character, so a byte
  // search for the separator cannot hit the middle of one.
  const std::size_t cut = path.rfind(separator);
  if (cut == std::string_view::npos) return {};
  return std::string(path.substr(0, cut));
}

std::string ProgramDirectory() {
  static const std::string directory = DirectoryOf(ExecutablePath(), kPathSeparator);
  return directory;
}

}  // namespace tosilk
