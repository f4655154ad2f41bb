#include "host_copy.h"

#include <cstdlib>
#include <cstring>

namespace txtppt2::bench {

bool HostCopy(const void* data, size_t size) {
  void* copy = std::malloc(size == 0 ? 1 : size);
  if (copy == nullptr) return false;
  std::memcpy(copy, data, size);
  // Keeps the copy: the compiler may not drop a memcpy into a block that
  // escapes before it is freed.
  asm volatile("" : : "r"(copy) : "memory");
  std::free(copy);
  return true;
}

}  // namespace txtppt2::bench
