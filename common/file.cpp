#include "common/file.h"

#include "common/paths.h"

namespace tosilk {

MaybeError MakeDirectories(const std::string& path) {
  if (KindOf(path) == PathKind::kDirectory) return {};
  const std::string parent = DirectoryOf(path, kPathSeparator);
  // A root ("", "C:", "\\server") is never made; it is there or it is not.
  if (!parent.empty() && parent != path && KindOf(parent) == PathKind::kMissing) {
    if (MaybeError error = MakeDirectories(parent)) return error;
  }
  return MakeDirectory(path);
}

}  // namespace tosilk
