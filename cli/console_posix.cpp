#include <unistd.h>

#include <cerrno>

#include "cli/console.h"

namespace tosilk::cli {
namespace {

void WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

class PosixOutput : public Output {
 public:
  bool terminal() const override { return isatty(STDOUT_FILENO) == 1; }
  void Out(std::string_view utf8) override { WriteAll(STDOUT_FILENO, utf8); }
  void Error(std::string_view utf8) override { WriteAll(STDERR_FILENO, utf8); }
};

}  // namespace

std::unique_ptr<Output> ProcessOutput() { return std::make_unique<PosixOutput>(); }

}  // namespace tosilk::cli
