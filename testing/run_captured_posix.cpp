#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "testing/fs_util.h"
#include "testing/run_captured.h"

namespace tosilk::testing {

Captured RunCaptured(const std::string& program, const std::vector<std::string>& words,
                     const std::filesystem::path& directory) {
  TempFolder files("captured");
  const std::string out = PathText(files.path() / "out");
  const std::string err = PathText(files.path() / "err");
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  const std::string where = PathText(directory);
  const pid_t pid = fork();
  if (pid == 0) {
    const int in_fd = open("/dev/null", O_RDONLY);
    const int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in_fd < 0 || out_fd < 0 || err_fd < 0 || dup2(in_fd, 0) < 0 || dup2(out_fd, 1) < 0 ||
        dup2(err_fd, 2) < 0 || chdir(where.c_str()) != 0) {
      _exit(126);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  Captured captured;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    captured.status = WEXITSTATUS(status);
  }
  captured.out = ReadAll(files.path() / "out");
  captured.err = ReadAll(files.path() / "err");
  return captured;
}

}  // namespace tosilk::testing
