// Where tosilk-cli writes: its standard output and error, and whether the
// output is a terminal someone reads. Texts are UTF-8; a Windows console is
// written in UTF-16, so that it shows them whatever its code page.
#pragma once

#include <memory>
#include <string_view>

namespace tosilk::cli {

class Output {
 public:
  virtual ~Output() = default;
  // Whether standard output is a terminal (a console), rather than a pipe or
  // a file.
  virtual bool terminal() const = 0;
  virtual void Out(std::string_view utf8) = 0;
  virtual void Error(std::string_view utf8) = 0;
};

// The process's own standard output and error.
std::unique_ptr<Output> ProcessOutput();

}  // namespace tosilk::cli
