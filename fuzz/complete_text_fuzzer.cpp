// The complete text of arbitrary bytes taken as a compound file, in both
// output widths: no crash, no leak, and a success's text no larger than the
// input could make.
#include <cstdint>
#include <string>

#include "driver/conversion_driver.h"
#include "fuzz_check.h"

namespace {

class Outcome final : public txtppt2::ErrorRecorder {
 public:
  void SetConversionError(const char*, uint32_t) override { failed = true; }
  void ClearConversionError() override { failed = false; }
  bool failed = false;
};

void Check(const uint8_t* data, size_t size, txtppt2::OutputMode mode) {
  Outcome outcome;
  uint32_t count = static_cast<uint32_t>(size);
  HGLOBAL block = txtppt2::ConvertMemory(data, mode, &count, outcome,
                                         txtppt2::kCompleteText);
  txtppt2::fuzz::Require((block == nullptr) == outcome.failed,
                         "the result and the outcome disagree");
  // Text is written within a budget of four times the stream's size plus
  // 64 KiB, a line break at most doubles it, and each 32-character
  // separator needs a slide list entry of 8 bytes or more.
  uint64_t width = mode == txtppt2::kUnicode ? 2 : 1;
  if (block != nullptr)
    txtppt2::fuzz::Require(count <= width * (16 * uint64_t{size} + 262144),
                           "the text is larger than the input could make");
  GlobalFree(block);
  txtppt2::fuzz::RequireEverythingReleased();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > UINT32_MAX) return 0;
  Check(data, size, txtppt2::kUnicode);
  Check(data, size, txtppt2::kPureText);
  return 0;
}
