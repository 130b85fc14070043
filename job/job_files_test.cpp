#include "job/job_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/paths.h"
#include "testing/fs_util.h"

namespace tosilk {
namespace {

struct BaseCase {
  const char* name;
  bool stamped;
};

class StampedBaseTest : public ::testing::TestWithParam<BaseCase> {};

TEST_P(StampedBaseTest, KnowsTheNameStampsForm) {
  EXPECT_EQ(IsStampedBase(GetParam().name), GetParam().stamped) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, StampedBaseTest,
    ::testing::Values(BaseCase{"2024年12月7日12时31分54秒10041", true},
                      BaseCase{"2024年12月7日12时30分28467", true},
                      BaseCase{"2024年12月7日12时16334", true},
                      BaseCase{"2024年12月7日36500", true},
                      BaseCase{"2025年1月2日0时0分7秒42767", true},
                      BaseCase{"2024年12月7日12时31分54秒1004", false},
                      BaseCase{"2024年12月7日12时31分54秒100411", false},
                      BaseCase{"2024年12月7日12时31分54秒09999", false},
                      BaseCase{"2024年12月7日12时31分54秒10041 (2)", false},
                      BaseCase{"我的录音", false}, BaseCase{"12月7日10041", false},
                      BaseCase{"", false}));

TEST(EncoderTemporary, IsADotNameRandomTmpFile) {
  const std::string silk = "2024年12月7日10041.silk";
  EXPECT_TRUE(IsEncoderTemporaryOf(".2024年12月7日10041.silk.3fa9c2.tmp", silk));
  EXPECT_FALSE(IsEncoderTemporaryOf(".2024年12月7日10041.silk.tmp", silk));
  EXPECT_FALSE(IsEncoderTemporaryOf("2024年12月7日10041.silk.3fa9c2.tmp", silk));
  EXPECT_FALSE(IsEncoderTemporaryOf(".2024年12月7日10042.silk.3fa9c2.tmp", silk));
  EXPECT_FALSE(IsEncoderTemporaryOf(".2024年12月7日10041.silk.3fa9c2.part", silk));
}

// A result folder as a user's might look after a killed job: the killed
// job's files among the user's own and those of finished jobs.
class AbandonedFilesTest : public ::testing::Test {
 protected:
  AbandonedFilesTest() : folder_("result 文件夹") {}

  void Put(const std::string& name, std::string_view content) {
    testing::WriteAll(folder_.path() / testing::Utf8Path(name), content);
  }
  std::vector<std::string> Entries() const { return testing::EntryNames(folder_.path()); }

  testing::TempFolder folder_;
};

TEST_F(AbandonedFilesTest, RemovesOnlyWhatAKilledJobLeft) {
  const std::string killed = "2024年12月7日12时31分54秒10041";
  Put(killed + ".silk", "");
  Put(killed + ".pcm", std::string(4800, '\1'));
  Put("." + killed + ".silk.8c1e77.tmp", "half a voice");
  // Kept: a finished voice and a .pcm beside it, a .pcm whose .silk is
  // gone, an empty .silk of another name, and the user's own files.
  const std::string finished = "2024年12月7日12时31分55秒28467";
  Put(finished + ".silk", "\x02#!SILK_V3 and more");
  Put(finished + ".pcm", "pcm");
  Put("2024年12月7日12时31分56秒16334.pcm", "a lone pcm");
  Put("我的录音.silk", "");
  Put("我的录音.pcm", "mine");
  const std::vector<std::string> before = Entries();

  std::vector<std::string> removed = RemoveAbandonedJobFiles(folder_.text());
  std::sort(removed.begin(), removed.end());

  EXPECT_EQ(removed, (std::vector<std::string>{"." + killed + ".silk.8c1e77.tmp", killed + ".pcm",
                                               killed + ".silk"}));
  std::vector<std::string> kept;
  for (const std::string& name : before) {
    if (std::find(removed.begin(), removed.end(), name) == removed.end()) kept.push_back(name);
  }
  EXPECT_EQ(Entries(), kept);
}

TEST_F(AbandonedFilesTest, LeavesTheFilesOfARunningJob) {
  const std::string running = "2024年12月7日12时31分54秒10041";
  Put(running + ".silk", "");
  Put(running + ".pcm", "still being written");
  const auto held = LockJobFiles(folder_.text(), running);
  ASSERT_NE(held, nullptr);
  EXPECT_TRUE(RemoveAbandonedJobFiles(folder_.text()).empty());
  EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(AbandonedFilesTest, FindsNothingInAFolderThatIsNotThere) {
  EXPECT_TRUE(RemoveAbandonedJobFiles(folder_.text() + std::string(kPathSeparator) + "none")
                  .empty());
}

}  // namespace
}  // namespace tosilk
