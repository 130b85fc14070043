#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/process.h"
#include "common/text.h"
#include "common/unique_fd_posix.h"

extern char** environ;

namespace tosilk {
namespace {

// Owns a posix_spawn_file_actions_t.
class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

std::string DescribeStatus(int status) {
  if (WIFEXITED(status)) return Join({"退出码 ", DecimalText(WEXITSTATUS(status))});
  if (WIFSIGNALED(status)) return Join({"被信号 ", DecimalText(WTERMSIG(status)), " 终止"});
  return Join({"状态 ", DecimalText(status)});
}

}  // namespace

ProcessOutcome RunProgram(const std::string& program, const std::vector<std::string>& words) {
  ProcessOutcome outcome;

  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) {
    outcome.start_error = Join({std::strerror(errno)});
    return outcome;
  }
  UniqueFd read_end(pipe_fds[0]);
  UniqueFd write_end(pipe_fds[1]);

  FileActions actions;
  posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(actions.get(), write_end.get(), STDERR_FILENO);

  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int error =
      posix_spawn(&pid, program.c_str(), actions.get(), nullptr, argv.data(), environ);
  if (error != 0) {
    outcome.start_error = Join({std::strerror(error)});
    return outcome;
  }
  outcome.started = true;
  // Only the child may hold the write end now, so the pipe reads as ended
  // once the child (and anything it left running) has closed it.
  write_end.reset();

  LastLineCollector collector;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(read_end.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    collector.Feed(std::string_view(buffer, static_cast<std::size_t>(got)));
  }
  outcome.last_error_line = collector.Finish();

  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      outcome.exit_description = Join({"无法等待进程结束：", std::strerror(errno)});
      return outcome;
    }
  }
  outcome.exited_zero = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  outcome.exit_description = DescribeStatus(status);
  return outcome;
}

}  // namespace tosilk
