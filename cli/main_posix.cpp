#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
  // First, before any thread: it takes the signals that end the program.
  tosilk::cli::Interrupts interrupts;
  const std::unique_ptr<tosilk::cli::Output> output = tosilk::cli::ProcessOutput();
  return tosilk::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc),
                             tosilk::ProgramJobSetting(), *output, interrupts);
}
