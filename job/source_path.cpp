#include "job/source_path.h"

#include "common/paths.h"
#include "common/text.h"

namespace tosilk {
namespace {

// `path` without one pair of `quote` around it.
std::string_view Unquoted(std::string_view path, char quote) {
  if (path.size() >= 2 && path.front() == quote && path.back() == quote) {
    return path.substr(1, path.size() - 2);
  }
  return path;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

std::string CleanSourcePath(std::string_view typed) {
  std::string_view path = Unquoted(TrimBlanks(typed), '"');
  if (kShellStylePaths) path = Unquoted(path, '\'');

  constexpr std::string_view kFileScheme = "file://";
  if (path.size() > kFileScheme.size() && path.substr(0, kFileScheme.size()) == kFileScheme) {
    const std::string_view rest = path.substr(kFileScheme.size());
    const std::size_t slash = rest.find('/');
    if (slash != std::string_view::npos) {
      const std::string file =
          PathFromFileUri(rest.substr(0, slash), PercentDecoded(rest.substr(slash)));
      if (!file.empty()) return file;
    }
  }
  if (kShellStylePaths && (path == "~" || path.starts_with("~/"))) {
    const std::string home = HomeFolder();
    if (!home.empty()) return Join({home, path.substr(1)});
  }
  return std::string(path);
}

std::string SourceStem(std::string_view path) {
  // Windows takes either slash as a separator; on POSIX a backslash is part
  // of a name.
  const std::size_t slash = path.find_last_of(kShellStylePaths ? "/" : "/\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace tosilk
