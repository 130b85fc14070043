// What a window does with the files dropped on it or given to the program
// when it starts, the same in both front ends: one file goes into the edit
// box, to be encoded with a click as a typed path is; several files, or a
// folder, are encoded at once, as a batch.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "job/sources.h"

namespace tosilk {

struct DroppedFiles {
  std::optional<std::string> into_edit_box;
  std::vector<Source> batch;  // the batch's sources; a folder's files, not its subfolders
  bool nothing_found = false;  // a batch was given but holds no file
};

DroppedFiles SortDroppedFiles(const std::vector<std::string>& files);

}  // namespace tosilk
