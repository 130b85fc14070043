// Runs tosilk.exe from the release archive as unpacked into a fresh folder,
// whose Windows path comes in TOSILK_RELEASE_FOLDER: the folder holds just
// what the archive promises, and with the tools put beside the program, one
// job succeeds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/win/running_program_win_test.h"

namespace tosilk {
namespace {

namespace fs = std::filesystem;

TEST(ReleaseArchive, HoldsTheProgramAResultFolderAndTheNotes) {
  // The wide form: the narrow one is in the ANSI code page.
  const wchar_t* place = _wgetenv(L"TOSILK_RELEASE_FOLDER");
  ASSERT_NE(place, nullptr) << "TOSILK_RELEASE_FOLDER names no folder";
  const fs::path folder = testing::Utf8Path(Narrow(place));
  EXPECT_EQ(testing::EntryNames(folder),
            (std::vector<std::string>{"result", "tosilk.exe", "使用说明.txt"}));
  EXPECT_TRUE(fs::is_directory(folder / "result") && fs::is_empty(folder / "result"));
  // UTF-8 with a byte-order mark, which every Notepad reads as such.
  EXPECT_TRUE(testing::ReadAll(folder / testing::Utf8Path("使用说明.txt")).starts_with("\xEF\xBB\xBF"));

  testing::CopyStandins(folder);
  RunningProgram program(RunningProgram::ReadyFolder{folder});
  program.Type(program.source());
  const std::string shown = program.ClickEncode();
  ASSERT_TRUE(shown.starts_with(Join({texts::kDonePrefix, program.Inside("result\\")}))) << shown;
  EXPECT_TRUE(fs::is_regular_file(testing::Utf8Path(shown.substr(texts::kDonePrefix.size()))));
  program.Activate();
  Press(VK_ESCAPE);
  EXPECT_TRUE(program.EndsWithZero());
}

}  // namespace
}  // namespace tosilk
