#include "ui/dropped_files.h"

#include "common/file.h"

namespace tosilk {

DroppedFiles SortDroppedFiles(const std::vector<std::string>& files) {
  DroppedFiles sorted;
  if (files.empty()) return sorted;
  if (files.size() == 1 && KindOf(files.front()) != PathKind::kDirectory) {
    sorted.into_edit_box = files.front();
    return sorted;
  }
  sorted.batch = CollectSources(files, false);
  sorted.nothing_found = sorted.batch.empty();
  return sorted;
}

}  // namespace tosilk
