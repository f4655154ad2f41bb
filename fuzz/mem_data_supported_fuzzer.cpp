// IsMemDataSupported over arbitrary bytes: the probe opens the storage and
// the document stream, reads nothing, and leaves the error record alone.
#include <cstdint>

#include "fuzz_check.h"
#include "txtppt2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using txtppt2::fuzz::Require;
  if (size > UINT32_MAX) return 0;
  uint32_t before = GetErrorCode();
  bool first = IsMemDataSupported(data, static_cast<uint32_t>(size));
  txtppt2::fuzz::RequireEverythingReleased();
  bool second = IsMemDataSupported(data, static_cast<uint32_t>(size));
  Require(first == second, "the probe answers differently for the same bytes");
  Require(GetErrorCode() == before, "the probe touched the error record");
  return 0;
}
