// The source path as the user typed, pasted or dropped it, made into the path
// of a file.
#pragma once

#include <string>
#include <string_view>

namespace tosilk {

// Removes the blanks around the path and one pair of double quotes enclosing
// it (Windows' "Copy as path" adds them), and where the platform's shells
// have users write them (kShellStylePaths), one pair of single quotes. Then
// a "file://" URI (what file managers put on the clipboard and drop) becomes
// the file's path, percent-decoded, and, with shell-style paths, a leading
// "~/" the home folder. Nothing else is changed.
std::string CleanSourcePath(std::string_view typed);

// The file name of `path` without its extension: "D:\\音乐\\a b.mp3" gives
// "a b", "/x/.hidden" ".hidden", "song.tar.gz" "song.tar".
std::string SourceStem(std::string_view path);

// `text` with each "%XX" (two hex digits) replaced by the byte it stands for.
std::string PercentDecoded(std::string_view text);

}  // namespace tosilk
