#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/silk_codec/codec_file.h"

namespace tosilk::codec {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> NamesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

// SIGTERM while the output is being written must not leave the temporary
// file behind: the caller only ever looks for OUT itself.
TEST(WriteFileAtomicallyTest, TerminationWhileWritingRemovesTheTemporaryFile) {
  const fs::path folder = fs::temp_directory_path() / ("codec-term-" + RandomSuffix());
  fs::create_directory(folder);
  const std::string output = (folder / "out.silk").string();

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstallTerminationCleanup();
    // Large enough that writing it lasts well beyond the parent's first look.
    std::vector<uint8_t> data(size_t{256} << 20, 1);
    WriteFileAtomically(output, data.data(), data.size());
    _exit(0);
  }

  // Wait until the temporary file is there, then stop the writer.
  bool seen = false;
  while (!seen) {
    for (const std::string& name : NamesIn(folder)) seen = seen || name.ends_with(".tmp");
    int status = 0;
    if (!seen && waitpid(child, &status, WNOHANG) == child) {
      fs::remove_all(folder);
      GTEST_SKIP() << "the writer finished before its temporary file was seen";
    }
    if (!seen) usleep(200);
  }
  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);

  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
  EXPECT_EQ(NamesIn(folder), std::vector<std::string>{});
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tosilk::codec
