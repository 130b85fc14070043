#include <gtest/gtest.h>

#include "job/encode_job.h"
#include "job/job_fixture.h"

namespace tosilk {
namespace {

// Only POSIX file names may hold double quotes; they reach the tools as part
// of their word, neither split nor stripped.
TEST(Job, PassesQuotesInsideNamesThrough) {
  ProgramFolder folder("say \"hi\" it's");
  const std::string source = folder.AddSource("\"quoted\" 'name'.mp3");
  const JobOutcome outcome = folder.Run(source);
  ASSERT_TRUE(outcome.ok()) << outcome.reason;
  const std::string base = folder.Base("10041");
  EXPECT_EQ(folder.WordsOf("ffmpeg"), ConverterWords(folder, source, base));
  EXPECT_EQ(folder.WordsOf("silk_v3_encoder"), EncoderWords(folder, base));
}

}  // namespace
}  // namespace tosilk
