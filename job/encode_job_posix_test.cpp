#include <gtest/gtest.h>

#include "job/encode_job.h"
#include "texts/texts.h"
#include "testing/job_fixture.h"

namespace tosilk {
namespace {

// Only POSIX file names may hold double quotes; they reach the tools as part
// of their word, neither split nor stripped.
TEST(Job, PassesQuotesInsideNamesThrough) {
  ProgramFolder folder("say \"hi\" it's");
  const std::string source = folder.AddSource("\"quoted\" 'name'.mp3");
  const JobOutcome outcome = folder.Run(source);
  ASSERT_TRUE(outcome.ok()) << texts::FailureReason(outcome);
  const std::string base = folder.Base("10041");
  EXPECT_EQ(folder.WordsOf("ffmpeg"), ConverterWords(folder, source, base));
  EXPECT_EQ(folder.WordsOf("silk_v3_encoder"), EncoderWords(folder, base));
}

// A result folder in which no file can be created, even by root: /proc.
// The job goes to the user's folder; failing there too, it says why.
TEST(Job, GoesElsewhereWhenTheOutputNameCannotBeReserved) {
  ProgramFolder folder("unwritable");
  const std::string source = folder.AddSource("a.mp3");
  std::filesystem::create_directory_symlink("/proc/self", folder.result());
  const JobOutcome elsewhere = folder.Run(source);
  ASSERT_TRUE(elsewhere.ok()) << texts::FailureReason(elsewhere);
  EXPECT_EQ(testing::Utf8Path(elsewhere.output_path).parent_path(), folder.user_result());

  std::filesystem::remove_all(folder.path() / "user");
  testing::WriteAll(folder.path() / "user", "not a folder");
  const JobOutcome outcome = folder.Run(source);
  EXPECT_EQ(outcome.failure, JobFailure::kReserveFailed);
  const std::string reason = texts::FailureReason(outcome);
  EXPECT_TRUE(reason.starts_with("无法在结果文件夹中创建文件 " + folder.Base("16334") + ".silk（"))
      << reason;
}

}  // namespace
}  // namespace tosilk
