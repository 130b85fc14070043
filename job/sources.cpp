#include "job/sources.h"

#include <algorithm>

#include "common/file.h"
#include "common/paths.h"
#include "common/text.h"
#include "job/source_path.h"

namespace tosilk {
namespace {

void AddFolder(const std::string& folder, bool recursive, std::vector<Source>& sources) {
  std::vector<std::string> names = FolderEntries(folder);
  std::sort(names.begin(), names.end());
  std::vector<std::string> folders;
  for (const std::string& name : names) {
    if (name.starts_with(".")) continue;
    const std::string path = Join({folder, kPathSeparator, name});
    switch (KindOf(path)) {
      case PathKind::kFile:
        sources.push_back({path, true});
        break;
      case PathKind::kDirectory:
        if (recursive) folders.push_back(path);
        break;
      case PathKind::kMissing:
      case PathKind::kOther:
        break;
    }
  }
  for (const std::string& sub : folders) AddFolder(sub, recursive, sources);
}

}  // namespace

std::vector<Source> CollectSources(const std::vector<std::string>& paths, bool recursive) {
  std::vector<Source> sources;
  for (const std::string& typed : paths) {
    const std::string path = CleanSourcePath(typed);
    if (KindOf(path) == PathKind::kDirectory) {
      // A folder's own path without the separator it may end in.
      std::string folder = path;
      while (folder.size() > 1 && folder.ends_with(kPathSeparator)) folder.pop_back();
      AddFolder(folder, recursive, sources);
    } else {
      sources.push_back({path, false});
    }
  }
  return sources;
}

bool PassedOver(const Source& source, const JobOutcome& outcome) {
  return source.in_folder &&
         (outcome.failure == JobFailure::kNotAudio || outcome.failure == JobFailure::kNoAudioStream);
}

}  // namespace tosilk
