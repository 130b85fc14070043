// Where the program lies, and how this platform writes paths and program names.
#pragma once

#include <cstddef>
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

// The folder below which this user's own data goes: %LOCALAPPDATA% on
// Windows; $XDG_DATA_HOME, else ~/.local/share, elsewhere. Empty when the
// system names none.
std::string UserDataFolder();

// How long the path of a program may be, as SystemPathLength counts, for the
// system to start it: 259 UTF-16 characters on Windows (CreateProcess takes
// no longer application name), PATH_MAX - 1 bytes elsewhere.
std::size_t MaxProgramPathLength();

// The length of `path` as the system counts it: UTF-16 characters on
// Windows, bytes elsewhere.
std::size_t SystemPathLength(std::string_view path);

// Whether users of this platform write "~/" for their home folder and put
// paths in single quotes (as the POSIX shells have them do), or not.
extern const bool kShellStylePaths;

// The home folder, for "~/"; empty when unknown.
std::string HomeFolder();

// The path that a file URI's host and (percent-decoded) path name on this
// platform: "/home/a b.mp3"; on Windows "/C:/a b.mp3" is "C:\a b.mp3" and a
// host gives a UNC path. Empty when the URI names no file of this platform.
std::string PathFromFileUri(std::string_view host, std::string_view path);

// Makes `directory` the process's current directory. Returns false when that
// failed; the inherited current directory then stays.
bool SetCurrentDirectoryTo(const std::string& directory);

}  // namespace tosilk
