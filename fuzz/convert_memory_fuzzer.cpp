// The memory conversions over arbitrary bytes: the probe, then the exact
// text through the exports and the complete text through the core, in both
// widths. The probe answers the same twice and leaves the error record
// alone; a result block and the error record agree; the probe opens exactly
// what a conversion opens; and neither text outgrows what its walk can make.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "driver/conversion_driver.h"
#include "fuzz_check.h"
#include "interface/conversion_error_state.h"
#include "txtppt2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using txtppt2::fuzz::Require;
  if (size > UINT32_MAX) return 0;
  const uint32_t before = GetErrorCode();
  const bool supported = IsMemDataSupported(data, static_cast<uint32_t>(size));
  Require(IsMemDataSupported(data, static_cast<uint32_t>(size)) == supported,
          "the probe answers differently for the same bytes");
  Require(GetErrorCode() == before, "the probe touched the error record");
  for (uint32_t width : {1u, 2u}) {
    uint32_t count = static_cast<uint32_t>(size);
    void* block = width == 2 ? ConvertMemoryToUnicode(data, 0, &count)
                             : ConvertMemoryToPureText(data, 0, &count);
    const uint32_t code = GetErrorCode();
    char message[1024];
    const int32_t reported = GetConversionError(message, sizeof message);
    if (block != nullptr) {
      Require(code == 0 && reported == 0, "a success leaves an error recorded");
      Require(count % width == 0, "the count is not whole characters");
      // The text can outgrow its stream: 8 header bytes make a 32-character
      // slide separator, and a lone CR becomes CR LF. It can never outgrow
      // the input by more than that.
      Require(count / width <= 4 * uint64_t{size} + 64,
              "the text is larger than the input could make");
      static const char kNul[2] = {0, 0};
      Require(std::memcmp(static_cast<char*>(block) + count, kNul, width) == 0,
              "the text has no terminator");
      std::free(block);
    } else {
      Require(code == txtppt2_conversion_failed ||
                  code == txtppt2_unsupported_format,
              "a failure has an unknown code");
      Require(reported == 1 && message[0] != '\0', "a failure has no message");
    }
    Require(supported || block == nullptr, "converted what the probe refused");
    Require(!supported || code != txtppt2_unsupported_format,
            "the probe found a document not there");

    // The complete text's walk is bounded by four times the input plus
    // 64 KiB, a line break at most doubling it, and a 32-character
    // separator per 8-byte slide list entry.
    txtppt2::ConversionErrorState outcome;
    count = static_cast<uint32_t>(size);
    HGLOBAL complete = txtppt2::ConvertMemory(
        data, width == 2 ? txtppt2::kUnicode : txtppt2::kPureText, &count,
        outcome, txtppt2::kCompleteText);
    Require((complete == nullptr) == (outcome.ReportedCode() != 0),
            "the complete text's result and error disagree");
    Require(
        complete == nullptr || count <= width * (16 * uint64_t{size} + 262144),
        "the complete text is larger than the input could make");
    GlobalFree(complete);
  }
  return 0;
}
