// For tests: an Output that keeps what is written to it.
#pragma once

#include <string>

#include "cli/console.h"

namespace tosilk::cli {

class CollectedOutput : public Output {
 public:
  explicit CollectedOutput(bool terminal = false) : terminal_(terminal) {}
  bool terminal() const override { return terminal_; }
  void Out(std::string_view utf8) override { out += utf8; }
  void Error(std::string_view utf8) override { err += utf8; }

  std::string out;
  std::string err;

 private:
  bool terminal_;
};

}  // namespace tosilk::cli
