// Waiting in tests, and whether a process of a test still runs.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace tosilk::testing {

// Polls `done` until it holds or `limit` has passed; says which.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(20));

// Whether the process with the id `pid` (as a stand-in writes it into
// ROLE.pid) runs: it is neither gone nor a zombie waiting to be reaped.
bool ProcessRunning(const std::string& pid);

}  // namespace tosilk::testing
