// The local wall-clock time in whole seconds.
#pragma once

namespace tosilk {

struct LocalTime {
  int year;
  int month;   // 1 to 12
  int day;     // 1 to 31
  int hour;    // 0 to 23
  int minute;  // 0 to 59
  int second;  // 0 to 59 (60 for a leap second where the platform shows one)
};

// Reads the clock; daylight saving and time zone are the platform's.
LocalTime CurrentLocalTime();

}  // namespace tosilk
