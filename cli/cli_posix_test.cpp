// tosilk-cli ended by a signal mid-batch, as a script's timeout or Ctrl+C
// ends it: the running tools are ended and their files removed before it
// exits with 130.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cli/cli.h"
#include "common/paths.h"
#include "testing/job_fixture.h"
#include "testing/processes.h"

namespace tosilk::cli {
namespace {

namespace fs = std::filesystem;

struct SignalCase {
  const char* name;
  int signal;
};

class CliSignalTest : public ::testing::TestWithParam<SignalCase> {};

TEST_P(CliSignalTest, EndsTheToolsRemovesTheirFilesAndExitsWith130) {
  ProgramFolder folder("信号");
  fs::copy_file(testing::Utf8Path(ProgramDirectory()) / ".." / "tosilk-cli",
                folder.path() / "tosilk-cli");
  folder.Behave("ffmpeg", "sleep=60000\n");
  const std::string program = folder.Inside("tosilk-cli");
  const std::string a = folder.AddSource("a.mp3");
  const std::string b = folder.AddSource("b.mp3");
  const std::string c = folder.AddSource("c.mp3");

  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    execl(program.c_str(), program.c_str(), "-j", "2", a.c_str(), b.c_str(), c.c_str(), nullptr);
    _exit(127);
  }
  ASSERT_TRUE(testing::WaitUntil([&] { return folder.ResultEntries().size() >= 2; }));
  std::string tool;
  ASSERT_TRUE(testing::WaitUntil([&] {
    tool = testing::ReadAll(folder.path() / "ffmpeg.pid");
    return testing::ProcessRunning(tool);
  }));

  kill(pid, GetParam().signal);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal rather than by itself";
  EXPECT_EQ(WEXITSTATUS(status), kInterrupted);
  EXPECT_TRUE(folder.ResultEntries().empty()) << ::testing::PrintToString(folder.ResultEntries());
  EXPECT_FALSE(testing::ProcessRunning(tool));
}

INSTANTIATE_TEST_SUITE_P(Signals, CliSignalTest,
                         ::testing::Values(SignalCase{"Terminate", SIGTERM},
                                           SignalCase{"ControlC", SIGINT},
                                           SignalCase{"HangUp", SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tosilk::cli
