#include <windows.h>

#include "common/clock.h"

namespace tosilk {

LocalTime CurrentLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace tosilk
