// The complete text of arbitrary bytes taken as a compound file, in both
// widths: no crash or leak, a result exactly when no error is recorded,
// and no more text than the walk's budget (four times the input plus
// 64 KiB, a line break at most doubling it, and a 32-character separator
// per 8-byte slide list entry) lets through.
#include <cstdint>

#include "driver/conversion_driver.h"
#include "fuzz_check.h"

namespace {

struct Outcome final : txtppt2::ErrorRecorder {
  void SetConversionError(const char*, uint32_t) override { failed = true; }
  void ClearConversionError() override { failed = false; }
  bool failed = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > UINT32_MAX) return 0;
  for (auto mode : {txtppt2::kUnicode, txtppt2::kPureText}) {
    Outcome outcome;
    uint32_t count = static_cast<uint32_t>(size);
    HGLOBAL block = txtppt2::ConvertMemory(data, mode, &count, outcome,
                                           txtppt2::kCompleteText);
    using txtppt2::fuzz::Require;
    Require((block == nullptr) == outcome.failed, "result and error disagree");
    uint64_t width = mode == txtppt2::kUnicode ? 2 : 1;
    Require(block == nullptr || count <= width * (16 * uint64_t{size} + 262144),
            "the text is larger than the input could make");
    GlobalFree(block);
    txtppt2::fuzz::RequireEverythingReleased();
  }
  return 0;
}
