#include "common/paths.h"

#include <gtest/gtest.h>

#include "common/file.h"

namespace tosilk {
namespace {

struct DirectoryCase {
  const char* name;
  const char* path;
  const char* separator;
  const char* directory;
};

class DirectoryOfTest : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(DirectoryOfTest, CutsBeforeTheLastSeparator) {
  const DirectoryCase& c = GetParam();
  EXPECT_EQ(DirectoryOf(c.path, c.separator), c.directory);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DirectoryOfTest,
    ::testing::Values(
        DirectoryCase{"WindowsFolder", "D:\\voice\\tosilk.exe", "\\", "D:\\voice"},
        DirectoryCase{"DriveRoot", "C:\\enc.exe", "\\", "C:"},
        DirectoryCase{"NoSeparator", "enc.exe", "\\", ""},
        // 表 is E8 A1 A8 in UTF-8 but 0xB1 0x5C in code page 936: no byte of
        // it may pass for a separator.
        DirectoryCase{"ChineseFolder", "D:\\语音 表\\工具\\tosilk.exe", "\\", "D:\\语音 表\\工具"},
        DirectoryCase{"BlanksAndAmpersand", "/opt/a b&c/tosilk", "/", "/opt/a b&c"},
        DirectoryCase{"FileSystemRoot", "/tosilk", "/", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramDirectory, IsTheFolderOfThisTestProgram) {
  const std::string directory = ProgramDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), kPathSeparator.back());
  EXPECT_EQ(KindOf(ExecutablePath()), PathKind::kFile);
  EXPECT_EQ(KindOf(directory), PathKind::kDirectory);
  // Fixed once: later calls hand out the same value.
  EXPECT_EQ(ProgramDirectory(), directory);
}

}  // namespace
}  // namespace tosilk
