#include "tools/silk_codec/codec_file.h"

#include <random>

namespace tosilk::codec {

std::string TemporaryPathFor(const std::string& path, const std::string& suffix) {
  // Both separators count, so a Windows path splits the same way as a POSIX one.
  const size_t slash = path.find_last_of(kPathSeparators);
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + "." + suffix + ".tmp";
}

std::string RandomSuffix() {
  std::random_device random;
  static const char kDigits[] = "0123456789abcdef";
  std::string suffix;
  for (int i = 0; i < 12; ++i) suffix += kDigits[random() % 16];
  return suffix;
}

}  // namespace tosilk::codec
