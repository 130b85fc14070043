#include <unistd.h>

#include <string>
#include <vector>

#include "tools/standin/standin.h"

int main(int argc, char** argv) {
  return tosilk::standin::Run(STANDIN_ROLE, static_cast<unsigned long>(getpid()), std::vector<std::string>(argv, argv + argc));
}
