// Runs tosilk.exe from the release archive as unpacked into a fresh folder,
// whose Windows path comes in TOSILK_RELEASE_FOLDER: the folder holds just
// what the archive promises and nothing else is needed. Each recording listed
// in TOSILK_RELEASE_SOURCES is typed into the window and encoded with the
// archive's own tools, and what is written decodes, with the archive's own
// decoder, to the recording's length; each file that is no recording gets
// its reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/process.h"
#include "ui/win/running_program_win_test.h"

namespace tosilk {
namespace {

namespace fs = std::filesystem;

// The value of an environment variable, read in its wide form: the narrow
// one is in the ANSI code page.
std::string Environment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value != nullptr ? Narrow(value) : std::string();
}

fs::path ReleaseFolder() { return testing::Utf8Path(Environment(L"TOSILK_RELEASE_FOLDER")); }

TEST(ReleaseArchive, HoldsTheProgramItsToolsAResultFolderTheNotesAndTheLicences) {
  const fs::path folder = ReleaseFolder();
  ASSERT_FALSE(folder.empty()) << "TOSILK_RELEASE_FOLDER names no folder";
  EXPECT_EQ(testing::EntryNames(folder),
            (std::vector<std::string>{"ffmpeg.exe", "licenses", "result", "silk_v3_decoder.exe",
                                      "silk_v3_encoder.exe", "tosilk-cli.exe", "tosilk.exe",
                                      "使用说明.txt"}));
  EXPECT_TRUE(fs::is_directory(folder / "result") && fs::is_empty(folder / "result"));
  // UTF-8 with a byte-order mark, which every Notepad reads as such.
  EXPECT_TRUE(testing::ReadAll(folder / testing::Utf8Path("使用说明.txt")).starts_with("\xEF\xBB\xBF"));
  const std::vector<std::string> licenses = testing::EntryNames(folder / "licenses");
  for (const char* license : {"ffmpeg-LGPL-2.1.txt", "ffmpeg-来源-source.txt", "silk-wasm-LICENSE.txt",
                              "tosilk-LICENSE.txt", "mingw-w64-runtime.txt"}) {
    EXPECT_NE(std::find(licenses.begin(), licenses.end(), license), licenses.end()) << license;
  }
}

struct Source {
  std::string path;
  std::string reason;  // the start of the reason; empty for a recording
};

std::vector<Source> Sources() {
  std::vector<Source> sources;
  std::istringstream lines(testing::ReadAll(testing::Utf8Path(Environment(L"TOSILK_RELEASE_SOURCES"))));
  for (std::string line; std::getline(lines, line);) {
    const std::size_t bar = line.rfind('|');
    if (bar != std::string::npos) sources.push_back({line.substr(0, bar), line.substr(bar + 1)});
  }
  return sources;
}

// The length in milliseconds of what the archive's decoder makes of `silk`.
long long DecodedMilliseconds(const fs::path& folder, const std::string& silk) {
  const std::string decoder = testing::PathText(folder / "silk_v3_decoder.exe");
  const std::string pcm = testing::PathText(fs::temp_directory_path() / "release decoded.pcm");
  const ProcessOutcome run = RunProgram(decoder, {decoder, silk, pcm});
  if (!run.exit.succeeded()) {
    ADD_FAILURE() << "the decoder failed: " << run.last_error_line;
    return -1;
  }
  const long long ms = static_cast<long long>(fs::file_size(testing::Utf8Path(pcm))) / 48;
  fs::remove(testing::Utf8Path(pcm));
  return ms;
}

TEST(ReleaseArchive, EncodesRealRecordingsWithItsOwnToolsAndTurnsDownWhatIsNone) {
  const fs::path folder = ReleaseFolder();
  const std::vector<Source> sources = Sources();
  ASSERT_FALSE(sources.empty()) << "TOSILK_RELEASE_SOURCES lists nothing";
  const long long source_ms = std::atoll(Environment(L"TOSILK_SOURCE_MS").c_str());

  RunningProgram program(RunningProgram::ReadyFolder{folder});
  for (const Source& source : sources) {
    SCOPED_TRACE(source.path);
    const std::vector<std::string> before = testing::EntryNames(folder / "result");
    program.Type(source.path);
    const std::string shown = program.ClickEncode(std::chrono::seconds(120));
    const std::vector<std::string> after = testing::EntryNames(folder / "result");
    if (!source.reason.empty()) {
      EXPECT_TRUE(shown.starts_with(std::string(texts::kFailedPrefix) + source.reason)) << shown;
      EXPECT_EQ(after, before) << "a failed job left something";
      std::printf("%s: %s\n", source.path.c_str(), shown.c_str());
      continue;
    }
    ASSERT_TRUE(shown.starts_with(Join({texts::kDonePrefix, program.Inside("result\\")})))
        << shown;
    EXPECT_EQ(after.size(), before.size() + 1) << "more than the .silk, or nothing";
    const long long ms = DecodedMilliseconds(folder, shown.substr(texts::kDonePrefix.size()));
    EXPECT_LE(std::llabs(ms - source_ms), 100) << ms << " ms from " << source_ms << " ms";
    std::printf("%s: %lld ms decoded from %lld ms\n", source.path.c_str(), ms, source_ms);
  }
  program.Activate();
  Press(VK_ESCAPE);
  EXPECT_TRUE(program.EndsWithZero());
}

}  // namespace
}  // namespace tosilk
