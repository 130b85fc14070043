#include "testing/standins.h"

#include <string>

#include "common/paths.h"
#include "testing/fs_util.h"

namespace tosilk::testing {

std::filesystem::path BuiltStandinFolder() {
  return Utf8Path(ProgramDirectory()) / ".." / "standin";
}

void CopyStandins(const std::filesystem::path& folder, const std::filesystem::path& from) {
  for (const char* role : {"ffmpeg", "silk_v3_encoder", "silk_v3_decoder"}) {
    const std::filesystem::path name = Utf8Path(std::string(role) + std::string(kExecutableSuffix));
    std::filesystem::copy_file(from / name, folder / name);
  }
}

}  // namespace tosilk::testing
