// The sources of a batch: the files named, and the files in the folders
// named.
#pragma once

#include <string>
#include <vector>

#include "job/job_outcome.h"

namespace tosilk {

struct Source {
  std::string path;
  // Whether it was found in a folder rather than named itself: such a file
  // that is no audio is passed over, not a failure.
  bool in_folder = false;
};

// `paths` in their order, each folder among them replaced by the files in
// it, sorted by name (and with `recursive`, those in its folders, each
// folder's after its own files). Names starting with "." (hidden ones, and
// the encoder's temporary files) are left out of folders.
std::vector<Source> CollectSources(const std::vector<std::string>& paths, bool recursive);

// Whether `outcome`, of `source`, is a file passed over rather than a
// failure: one found in a folder that ffmpeg finds no audio in.
bool PassedOver(const Source& source, const JobOutcome& outcome);

}  // namespace tosilk
