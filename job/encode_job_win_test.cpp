// Windows starts no program whose path reaches MAX_PATH (260) characters,
// and says "file not found" of one that is there.
#include <windows.h>


#include <gtest/gtest.h>

#include "common/file.h"
#include "common/paths.h"
#include "common/wide_win.h"
#include "job/encode_job.h"
#include "testing/job_fixture.h"
#include "texts/texts.h"

namespace tosilk {
namespace {

// Copies with the "\\?\" form, which takes any length.
bool CopyLong(const std::string& from, const std::string& to) {
  return CopyFileW((L"\\\\?\\" + Widen(from)).c_str(), (L"\\\\?\\" + Widen(to)).c_str(), TRUE);
}

TEST(Job, SaysWhenTheProgramFolderIsTooDeepToStartTheTools) {
  ProgramFolder shallow("深");
  const std::string source = shallow.AddSource("a.mp3");
  // A program folder of 245 characters: ffmpeg.exe fits, the encoder not.
  std::string deep = shallow.text();
  while (SystemPathLength(deep) < 245) {
    // What is left for the next folder's name, in pieces that never leave
    // a remainder too short for a name.
    std::size_t name = 245 - SystemPathLength(deep) - 1;
    if (name > 41) name = 40;
    if (name == 41) name = 20;
    deep += "\\" + std::string(name, 'd');
  }
  ASSERT_EQ(SystemPathLength(deep), 245u);
  ASSERT_FALSE(MakeDirectories(deep).has_value());
  for (const char* tool : {"ffmpeg.exe", "silk_v3_encoder.exe"}) {
    ASSERT_TRUE(CopyLong(shallow.Inside(tool), deep + "\\" + tool)) << tool;
  }
  JobSetting setting = shallow.setting();
  setting.program_directory = deep;

  const JobOutcome outcome = RunEncodingJob(source, setting);

  EXPECT_EQ(outcome.failure, JobFailure::kProgramPathTooLong);
  EXPECT_EQ(outcome.tool, "silk_v3_encoder.exe");
  EXPECT_EQ(outcome.length, 245u + 1 + 19);
  EXPECT_EQ(outcome.limit, 259u);
  EXPECT_TRUE(texts::FailureReason(outcome).starts_with("程序所在文件夹的路径太长："))
      << texts::FailureReason(outcome);
  EXPECT_EQ(KindOf(deep + "\\ffmpeg.args"), PathKind::kMissing) << "no tool is started";
}

}  // namespace
}  // namespace tosilk
