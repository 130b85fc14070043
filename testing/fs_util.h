// File helpers for tests and the stand-in tools. Paths are UTF-8 texts, as
// everywhere in this program; std::filesystem takes them as char8_t so that
// Windows does not read them in its ANSI code page.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tosilk::testing {

std::filesystem::path Utf8Path(std::string_view utf8);
std::string PathText(const std::filesystem::path& path);

// The whole content of a file; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);
// Writes `data` as the whole content of a file; returns false on failure.
bool WriteAll(const std::filesystem::path& path, std::string_view data);

// The names of the entries in `folder`, sorted; none when it does not exist.
std::vector<std::string> EntryNames(const std::filesystem::path& folder);

// A fresh folder under the system's temporary folder, named with `label`
// (which may hold blanks, CJK and the like), removed with all it holds.
class TempFolder {
 public:
  explicit TempFolder(std::string_view label);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string text() const { return PathText(path_); }

 private:
  std::filesystem::path path_;
};

// Makes `directory` the current directory for as long as it lives.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::filesystem::path& directory);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace tosilk::testing
