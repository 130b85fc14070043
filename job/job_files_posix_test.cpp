// A job in a process of its own, killed as Task Manager or `kill -9` would:
// what it leaves is removed by the next start, and only once it is dead.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "job/job_files.h"
#include "testing/job_fixture.h"
#include "testing/processes.h"

namespace tosilk {
namespace {

namespace fs = std::filesystem;

TEST(KilledJob, LeavesFilesThatOnlyItsDeathMakesRemovable) {
  ProgramFolder folder("killed");
  const std::string source = folder.AddSource("a.mp3");
  folder.Behave("ffmpeg", "sleep=60000\n");
  const std::string pcm = folder.Base("10041") + ".pcm";

  const pid_t job = fork();
  ASSERT_GE(job, 0);
  if (job == 0) {
    folder.Run(source);
    _exit(0);
  }
  ASSERT_TRUE(testing::WaitUntil([&] { return fs::exists(testing::Utf8Path(pcm)); }));

  // Running, the job's files are its own.
  const std::string result = testing::PathText(folder.result());
  EXPECT_TRUE(RemoveAbandonedJobFiles(result).empty());
  EXPECT_EQ(folder.ResultEntries().size(), 2u);

  const std::string tool = testing::ReadAll(folder.path() / "ffmpeg.pid");
  kill(job, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(job, &status, 0), job);
  EXPECT_EQ(RemoveAbandonedJobFiles(result).size(), 2u);
  EXPECT_TRUE(folder.ResultEntries().empty());
  // Its tool died with it, and writes nothing any more.
  EXPECT_TRUE(testing::WaitUntil([&] { return !testing::ProcessRunning(tool); }));
}

}  // namespace
}  // namespace tosilk
