#pragma once
#include <cstdio>
#include <cstdlib>
#include <new>

namespace frt {

// A list that cannot grow ends the program, as a desktop tool with no way to go on should.
[[noreturn]] inline void OutOfMemory() {
  std::fputs("out of memory\n", stderr);
  std::exit(1);
}

template <class F>
void GuardAllocation(F&& f) {
  try {
    f();
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
}

}  // namespace frt
