// Where the program lies, and how this platform writes paths and program names.
#pragma once

#include <string>
#include <string_view>

namespace tosilk {

// The path separator of this platform: "\" on Windows, "/" elsewhere.
extern const std::string_view kPathSeparator;

// What program files end in: ".exe" on Windows, nothing elsewhere.
extern const std::string_view kExecutableSuffix;

// The folder part of `path`: everything before its last `separator`, or the
// empty text when it holds none.
std::string DirectoryOf(std::string_view path, std::string_view separator);

// The full path of the running executable, not limited in length.
std::string ExecutablePath();

// The folder that holds the running executable, without a trailing separator
// (empty when the executable's path has none). Read once, by the first call;
// each call returns a copy of that one value.
std::string ProgramDirectory();

// Makes `directory` the process's current directory. Returns false when that
// failed; the inherited current directory then stays.
bool SetCurrentDirectoryTo(const std::string& directory);

}  // namespace tosilk
