#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/child_process.h"
#include "common/unique_fd_posix.h"

extern char** environ;

namespace tosilk {
namespace {

// What the child does between fork and exec. Only async-signal-safe calls
// may be made here, since the parent may have other threads; on any failure
// the child reports errno through `report` and ends.
[[noreturn]] void BecomeTool(const char* program, char* const* argv, pid_t parent,
                             int error_pipe, int report) {
  // The tool ends with the thread that started it, which waits for it all
  // its life, and so with this process, even when it is killed.
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
  const int null_in = open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int null_out = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null_in >= 0 && null_out >= 0 && dup2(null_in, STDIN_FILENO) >= 0 &&
      dup2(null_out, STDOUT_FILENO) >= 0 && dup2(error_pipe, STDERR_FILENO) >= 0) {
    // A blocked or ignored signal would stay so across exec; the caller's
    // own handling of signals is not the tool's business, and a cancel
    // relies on SIGTERM reaching it.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction by_default{};
    by_default.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &by_default, nullptr);
    sigaction(SIGTERM, &by_default, nullptr);
    sigaction(SIGINT, &by_default, nullptr);
    execve(program, argv, environ);
  }
  const int error = errno;
  const ssize_t ignored = write(report, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

ChildProcess::Started FailedToStart(int error) {
  return {nullptr, SystemErrorOf(static_cast<unsigned long>(error))};
}

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
  // The child writes why exec failed into this; a successful exec closes it
  // (close-on-exec), which the parent reads as an empty report.
  int report_fds[2];
  if (pipe2(report_fds, O_CLOEXEC) != 0) return FailedToStart(errno);
  UniqueFd report_read(report_fds[0]);
  UniqueFd report_write(report_fds[1]);

  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);

  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) return FailedToStart(errno);
  if (pid == 0) {
    BecomeTool(program.c_str(), argv.data(), parent, write_end.get(), report_write.get());
  }
  // Only the child may hold the write ends now, so the pipes read as ended
  // once the child (and anything it left running) has closed them.
  write_end.reset();
  report_write.reset();

  int exec_error = 0;
  ssize_t got;
  do {
    got = read(report_read.get(), &exec_error, sizeof exec_error);
  } while (got < 0 && errno == EINTR);
  if (got == static_cast<ssize_t>(sizeof exec_error)) {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return FailedToStart(exec_error);
  }
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

void ChildProcess::End(Ending how) {
  // The child is not reaped before Wait, so its pid cannot have been reused.
  kill(handles_->pid, how == Ending::kAsk ? SIGTERM : SIGKILL);
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
