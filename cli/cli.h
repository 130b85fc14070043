// tosilk-cli: many files at once, for scripts and bots, with the same jobs
// as the window.
#pragma once

#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/interrupts.h"
#include "job/encode_job.h"

namespace tosilk::cli {

// The exit statuses.
inline constexpr int kAllDone = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kInterrupted = 130;

// Runs tosilk-cli with `words`, the words after its own name, with the
// tools (and the result folder) of `setting`, writing to `output`, and
// returns its exit status.
int RunCli(const std::vector<std::string>& words, const JobSetting& setting, Output& output,
           Interrupts& interrupts);

}  // namespace tosilk::cli
