#include <unistd.h>

#include <cstdlib>

#include "common/fatal.h"

namespace tosilk {

void ShowFatalAndExit(std::string_view message) {
  // write(2) rather than stdio: nothing here may allocate.
  const ssize_t ignored = write(STDERR_FILENO, message.data(), message.size());
  const ssize_t ignored_newline = write(STDERR_FILENO, "\n", 1);
  (void)ignored;
  (void)ignored_newline;
  ExitFatally();
}

void ExitFatally() { std::_Exit(-1); }

}  // namespace tosilk
