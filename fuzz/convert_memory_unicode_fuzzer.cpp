// ConvertMemoryToUnicode over arbitrary bytes.
#include "memory_conversion_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  txtppt2::fuzz::CheckMemoryConversion(ConvertMemoryToUnicode, data, size, 2);
  return 0;
}
