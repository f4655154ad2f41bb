// The shared body of the two memory conversion targets: converts the input,
// checks the result block and the error record against each other, and
// frees the block.
#ifndef TXTPPT2_FUZZ_MEMORY_CONVERSION_CHECK_H_
#define TXTPPT2_FUZZ_MEMORY_CONVERSION_CHECK_H_

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_check.h"
#include "txtppt2.h"

namespace txtppt2::fuzz {

using MemoryConversion = void* (*)(const void*, uint32_t, uint32_t*);

// width: bytes per character of the output (2 Unicode, 1 pure text).
inline void CheckMemoryConversion(MemoryConversion convert, const uint8_t* data,
                                  size_t size, uint32_t width) {
  if (size > UINT32_MAX) return;
  uint32_t count = static_cast<uint32_t>(size);
  void* block = convert(data, 0, &count);
  uint32_t code = GetErrorCode();
  char message[1024];
  int32_t reported = GetConversionError(message, sizeof message);
  if (block != nullptr) {
    Require(code == 0 && reported == 0, "a success leaves an error recorded");
    Require(count % width == 0, "the count is not whole characters");
    // The text can outgrow its stream: 8 header bytes make a 32-character
    // slide separator, and a lone CR becomes CR LF. It can never outgrow the
    // input by more than that.
    Require(count / width <= 4 * uint64_t{size} + 64,
            "the text is larger than the input could make");
    static const char kNul[2] = {0, 0};
    Require(std::memcmp(static_cast<char*>(block) + count, kNul, width) == 0,
            "the text has no terminator");
    std::free(block);
  } else {
    Require(code == 4 || code == 1003, "a failure has an unknown code");
    Require(reported == 1 && message[0] != '\0', "a failure has no message");
  }
  RequireEverythingReleased();

  // The probe opens exactly what the conversion opens.
  bool supported = IsMemDataSupported(data, static_cast<uint32_t>(size));
  if (!supported) Require(block == nullptr, "converted what the probe refused");
  if (supported) Require(code != 1003, "the probe found a document not there");
  RequireEverythingReleased();
}

}  // namespace txtppt2::fuzz

#endif  // TXTPPT2_FUZZ_MEMORY_CONVERSION_CHECK_H_
