// The fatal failure: the one way this program ends abnormally. It tells the
// user what failed and ends the process with the exit code -1 (255 where exit
// statuses are 8 bits wide).
#pragma once

#include <cstddef>
#include <string_view>

namespace tosilk {

// Shows `message` to the user and ends the process. Never returns. It must not
// allocate, because it also reports failed allocations.
using FatalHandler = void (*)(std::string_view message);

// Shows `message` through the current handler, waits until the user has
// dismissed it, and ends the process with -1.
[[noreturn]] void FatalFailure(std::string_view message);

// Reports that `bytes` bytes of memory could not be allocated. The message is
// formatted on the stack, since the heap is what just failed.
[[noreturn]] void FatalOutOfMemory(std::size_t bytes);

// Replaces the handler (a window layer shows its own message box; tests
// record the message) and returns the previous one. A null handler restores
// the platform's own, ShowFatalAndExit.
FatalHandler SetFatalHandler(FatalHandler handler);

// The platform's own handler: a message box with no owner on Windows, the
// message on standard error elsewhere. Ends the process with -1.
[[noreturn]] void ShowFatalAndExit(std::string_view message);

// Ends the process at once with the fatal exit code, without showing anything.
[[noreturn]] void ExitFatally();

}  // namespace tosilk
