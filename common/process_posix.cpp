#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/child_process.h"
#include "common/unique_fd_posix.h"

extern char** environ;

namespace tosilk {
namespace {

// Owns a posix_spawn_file_actions_t.
class FileActions {
 public:
  FileActions() { initialised_ = posix_spawn_file_actions_init(&actions_) == 0; }
  ~FileActions() {
    if (initialised_) posix_spawn_file_actions_destroy(&actions_);
  }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;

  // The standard input and output on /dev/null, the standard error onto
  // `error_fd`. Returns 0 or the error number of the step that failed.
  int Redirect(int error_fd) {
    if (!initialised_) return ENOMEM;
    if (const int e = posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null",
                                                       O_RDONLY, 0)) {
      return e;
    }
    if (const int e = posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null",
                                                       O_WRONLY, 0)) {
      return e;
    }
    return posix_spawn_file_actions_adddup2(&actions_, error_fd, STDERR_FILENO);
  }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
  bool initialised_ = false;
};

ChildProcess::Started FailedToStart(int error) { return {nullptr, std::strerror(error)}; }

}  // namespace

struct ChildProcess::Handles {
  pid_t pid;
  UniqueFd error_pipe;
};

ChildProcess::ChildProcess(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

ChildProcess::~ChildProcess() = default;

ChildProcess::Started ChildProcess::Start(const std::string& program,
                                          const std::vector<std::string>& words) {
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return FailedToStart(errno);
  UniqueFd read_end(pipe_fds[0]);
  UniqueFd write_end(pipe_fds[1]);

  FileActions actions;
  if (const int error = actions.Redirect(write_end.get())) return FailedToStart(error);

  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);

  pid_t pid = 0;
  if (const int error =
          posix_spawn(&pid, program.c_str(), actions.get(), nullptr, argv.data(), environ)) {
    return FailedToStart(error);
  }
  // Only the child may hold the write end now, so the pipe reads as ended
  // once the child (and anything it left running) has closed it.
  write_end.reset();
  return {std::unique_ptr<ChildProcess>(
              new ChildProcess(std::make_unique<Handles>(Handles{pid, std::move(read_end)}))),
          {}};
}

std::size_t ChildProcess::ReadError(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = read(handles_->error_pipe.get(), buffer, size);
    if (got < 0 && errno == EINTR) continue;
    return got > 0 ? static_cast<std::size_t>(got) : 0;
  }
}

ExitStatus ChildProcess::Wait() {
  int status = 0;
  while (waitpid(handles_->pid, &status, 0) < 0) {
    if (errno != EINTR) return {};
  }
  if (WIFEXITED(status)) {
    return {ExitStatus::How::kExited, static_cast<unsigned long>(WEXITSTATUS(status))};
  }
  if (WIFSIGNALED(status)) {
    return {ExitStatus::How::kSignalled, static_cast<unsigned long>(WTERMSIG(status))};
  }
  return {};
}

}  // namespace tosilk
