// The program's one allocation function. Every operator new of the process,
// the standard library's containers, Qt's objects and those of any thread
// included, comes here (the array and nothrow forms forward to this one), so
// a failed allocation anywhere ends in the fatal failure naming the bytes
// asked for, and no caller ever has to handle one. A new handler could not
// name them: it is not told the size.
#include <cstdlib>
#include <new>

#include "common/fatal.h"

void* operator new(std::size_t bytes) {
  // malloc(0) may return null; a new of zero bytes must still succeed.
  if (void* memory = std::malloc(bytes != 0 ? bytes : 1)) return memory;
  tosilk::FatalOutOfMemory(bytes);
}

// Paired with the malloc above; replacing one without the others would leave
// the standard library's own deallocation to guess.
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
