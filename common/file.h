// The file-system operations the program needs. Paths are UTF-8; failures
// come back as the system's facts (system_error.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/system_error.h"

namespace tosilk {

enum class PathKind { kMissing, kFile, kDirectory, kOther };

// What, if anything, lies at `path` (following symbolic links). Wildcard
// characters are taken literally.
PathKind KindOf(const std::string& path);

// Creates the folder `path` unless a folder is already there.
MaybeError MakeDirectory(const std::string& path);

// Creates the folder `path` and every folder above it that is missing.
MaybeError MakeDirectories(const std::string& path);

enum class CreateResult { kCreated, kAlreadyExists, kFailed };
struct CreateOutcome {
  CreateResult result;
  SystemError error;  // for kFailed
};

// Creates an empty file at `path` only if nothing of that name exists, as one
// atomic step, so that two processes can never both own the same name.
CreateOutcome CreateNewFile(const std::string& path);

// Removes the file at `path`. A folder is never removed.
bool RemoveFile(const std::string& path);

// Reads at most `limit` bytes from the start of the file at `path`. An
// unreadable file reads as empty.
std::string ReadFileHead(const std::string& path, std::size_t limit);

// The size of the file at `path`; nothing when no file is there.
std::optional<std::uint64_t> FileSize(const std::string& path);

// The names of the entries of the folder `path`, in no particular order;
// none when it cannot be read.
std::vector<std::string> FolderEntries(const std::string& path);

// `path` as the system knows it once links, "." and ".." are resolved (and,
// on Windows, short names and letter case), so that two spellings of one
// folder give one text. A path that does not exist is not resolved.
std::string CanonicalPath(const std::string& path);

}  // namespace tosilk
