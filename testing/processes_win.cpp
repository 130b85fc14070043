#include <windows.h>

#include "common/unique_handle_win.h"
#include "testing/processes.h"

namespace tosilk::testing {

bool ProcessRunning(const std::string& pid) {
  if (pid.empty()) return false;
  UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, std::stoul(pid)));
  return process.valid() && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

}  // namespace tosilk::testing
