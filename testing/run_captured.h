// Runs a program of the build as a test runs it by hand: with its standard
// output and error going to files, and its exit status.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tosilk::testing {

struct Captured {
  int status = -1;  // the exit status; -1 when it could not be run
  std::string out;  // all it wrote to standard output
  std::string err;  // and to standard error
};

// Runs `program` with `words` (words[0] is its own name) in `directory`,
// waits for it, and returns what it wrote. Its standard input is empty.
Captured RunCaptured(const std::string& program, const std::vector<std::string>& words,
                     const std::filesystem::path& directory);

}  // namespace tosilk::testing
