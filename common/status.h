// An outcome with a reason: the way this program reports errors as values.
#pragma once

#include <string>
#include <utility>

namespace tosilk {

struct Status {
  // The system's description of what went wrong; empty on success.
  std::string error;
  bool ok = true;

  static Status Ok() { return {}; }
  static Status Failed(std::string error) { return {std::move(error), false}; }
};

}  // namespace tosilk
