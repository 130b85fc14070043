#include "testing/fs_util.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tosilk::testing {

namespace fs = std::filesystem;

fs::path Utf8Path(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathText(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteAll(const fs::path& path, std::string_view data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(out);
}

std::vector<std::string> EntryNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code missing;
  for (const auto& entry : fs::directory_iterator(folder, missing)) {
    names.push_back(PathText(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

TempFolder::TempFolder(std::string_view label) {
  static std::atomic<int> counter{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::ostringstream name;
  name << "tosilk-" << ticks << "-" << counter++ << "-";
  path_ = fs::temp_directory_path() / Utf8Path(name.str() + std::string(label));
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const fs::path& directory)
    : previous_(fs::current_path()) {
  fs::current_path(directory);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

}  // namespace tosilk::testing
