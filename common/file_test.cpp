#include "common/file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/paths.h"
#include "testing/fs_util.h"

namespace tosilk {
namespace {

std::string Inside(const testing::TempFolder& folder, std::string_view path) {
  std::string full = folder.text() + std::string(kPathSeparator) + std::string(path);
  std::replace(full.begin(), full.end(), '/', kPathSeparator.front());
  return full;
}

TEST(File, MakesMissingFoldersAboveAFolder) {
  testing::TempFolder folder("文件 夹");
  const std::string deep = Inside(folder, "a/用户 b/c");
  EXPECT_FALSE(MakeDirectories(deep).has_value());
  EXPECT_EQ(KindOf(deep), PathKind::kDirectory);
  // Again, now that it is all there.
  EXPECT_FALSE(MakeDirectories(deep).has_value());
}

TEST(File, SaysWhyAFolderCannotBeMade) {
  testing::TempFolder folder("file in the way");
  testing::WriteAll(folder.path() / "a", "a file, not a folder");
  const MaybeError error = MakeDirectories(Inside(folder, "a/b"));
  ASSERT_TRUE(error.has_value());
  EXPECT_FALSE(error->text.empty());
}

TEST(File, ListsAFoldersEntriesAndSizesItsFiles) {
  testing::TempFolder folder("entries");
  testing::WriteAll(folder.path() / testing::Utf8Path("录音 1.pcm"), "12345");
  std::filesystem::create_directory(folder.path() / "sub");
  std::vector<std::string> names = FolderEntries(folder.text());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"sub", "录音 1.pcm"}));
  EXPECT_EQ(FileSize(Inside(folder, "录音 1.pcm")), 5u);
  EXPECT_FALSE(FileSize(Inside(folder, "sub")).has_value());
  EXPECT_FALSE(FileSize(Inside(folder, "none")).has_value());
  EXPECT_TRUE(FolderEntries(Inside(folder, "none")).empty());
}

TEST(File, GivesOneCanonicalPathForTwoSpellingsOfAFolder) {
  testing::TempFolder folder("canonical");
  std::filesystem::create_directory(folder.path() / "result");
  EXPECT_EQ(CanonicalPath(Inside(folder, "result")),
            CanonicalPath(Inside(folder, "result/../result/.")));
}

// Windows limits plain paths to 260 characters; the program's own file
// calls must work past that, since a program folder may lie deep.
TEST(File, WorksOnPathsLongerThanWindowsPlainLimit) {
  testing::TempFolder folder("long");
  std::string deep = folder.text();
  for (int i = 0; i < 6; ++i) deep += std::string(kPathSeparator) + std::string(50, 'a' + i);
  ASSERT_GT(SystemPathLength(deep), 300u);
  ASSERT_FALSE(MakeDirectories(deep).has_value());
  const std::string file = deep + std::string(kPathSeparator) + "2024年12月7日10041.silk";
  EXPECT_EQ(CreateNewFile(file).result, CreateResult::kCreated);
  EXPECT_EQ(CreateNewFile(file).result, CreateResult::kAlreadyExists);
  EXPECT_EQ(KindOf(file), PathKind::kFile);
  EXPECT_EQ(FileSize(file), 0u);
  EXPECT_EQ(FolderEntries(deep), std::vector<std::string>{"2024年12月7日10041.silk"});
  EXPECT_TRUE(RemoveFile(file));
  EXPECT_EQ(KindOf(file), PathKind::kMissing);
}

}  // namespace
}  // namespace tosilk
