// ConvertMemoryToPureText over arbitrary bytes.
#include "memory_conversion_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  txtppt2::fuzz::CheckMemoryConversion(ConvertMemoryToPureText, data, size, 1);
  return 0;
}
