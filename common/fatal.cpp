#include "common/fatal.h"

#include <cstdio>

#include "texts/fatal_texts.h"

namespace tosilk {
namespace {

FatalHandler g_handler = &ShowFatalAndExit;

}  // namespace

void FatalFailure(std::string_view message) {
  g_handler(message);
  // A handler that returns has broken its promise; the process still ends.
  ExitFatally();
}

void FatalOutOfMemory(std::size_t bytes) {
  char message[96];
  const int length = std::snprintf(message, sizeof message, texts::kOutOfMemoryFormat, bytes);
  FatalFailure(std::string_view(message, static_cast<std::size_t>(length)));
}

FatalHandler SetFatalHandler(FatalHandler handler) {
  FatalHandler previous = g_handler;
  g_handler = handler != nullptr ? handler : &ShowFatalAndExit;
  return previous;
}

}  // namespace tosilk
