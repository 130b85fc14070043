#include "testing/fs_util.h"
#include "testing/processes.h"

namespace tosilk::testing {

bool ProcessRunning(const std::string& pid) {
  if (pid.empty()) return false;
  // The state follows the name, which is in parentheses and may hold any.
  const std::string stat = ReadAll("/proc/" + pid + "/stat");
  const std::size_t end_of_name = stat.rfind(')');
  return end_of_name != std::string::npos && end_of_name + 2 < stat.size() &&
         stat[end_of_name + 2] != 'Z';
}

}  // namespace tosilk::testing
