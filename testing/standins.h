// Where tests find the stand-in tools, and how they put them into a program
// folder of their own.
#pragma once

#include <filesystem>

namespace tosilk::testing {

// The folder the build puts the stand-ins in, seen from a test program in
// build/<preset>/tests.
std::filesystem::path BuiltStandinFolder();

// Copies the stand-in ffmpeg, silk_v3_encoder and silk_v3_decoder, under this platform's
// program names, from `from` into `folder`.
void CopyStandins(const std::filesystem::path& folder,
                  const std::filesystem::path& from = BuiltStandinFolder());

}  // namespace tosilk::testing
