// The few file-system operations the encoding job needs. Paths are UTF-8;
// every error text is the system's own, formatted here.
#pragma once

#include <cstddef>
#include <string>

#include "common/status.h"

namespace tosilk {

enum class PathKind { kMissing, kFile, kDirectory, kOther };

// What, if anything, lies at `path` (following symbolic links). Wildcard
// characters are taken literally.
PathKind KindOf(const std::string& path);

// Creates the folder `path` unless a folder is already there.
Status MakeDirectory(const std::string& path);

enum class CreateResult { kCreated, kAlreadyExists, kFailed };
struct CreateOutcome {
  CreateResult result;
  std::string error;  // the system's text, for kFailed
};

// Creates an empty file at `path` only if nothing of that name exists, as one
// atomic step, so that two processes can never both own the same name.
CreateOutcome CreateNewFile(const std::string& path);

// Removes the file at `path`. A folder is never removed.
bool RemoveFile(const std::string& path);

// Reads at most `limit` bytes from the start of the file at `path`. An
// unreadable file reads as empty.
std::string ReadFileHead(const std::string& path, std::size_t limit);

}  // namespace tosilk
