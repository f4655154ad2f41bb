// Converts one file from its path, as a host would, and prints the result:
//
//   txtppt2_convert_once PATH [unicode|pure|complete]
//
// prints "count CODE" (the text's byte count, or 0, and the error code).
// "complete" takes the complete text in Unicode, through the conversion
// driver (the exports give the exact text only).
// bench/resource_bounds.py runs it in a child process to measure the time
// and peak memory of exactly one conversion.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/conversion_driver.h"
#include "txtppt2.h"

namespace {

struct IgnoreErrors final : txtppt2::ErrorRecorder {
  void SetConversionError(const char*, uint32_t value) override {
    code = value;
  }
  void ClearConversionError() override { code = 0; }
  uint32_t code = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH [unicode|pure]\n", argv[0]);
    return 2;
  }
  if (argc > 2 && std::strcmp(argv[2], "complete") == 0) {
    std::string narrow = argv[1];  // the measured files' names are ASCII
    std::basic_string<WCHAR> path(narrow.begin(), narrow.end());
    IgnoreErrors errors;
    uint32_t count = 0;
    HGLOBAL text = txtppt2::ConvertFile(path.c_str(), txtppt2::kUnicode, &count,
                                        errors, txtppt2::kCompleteText);
    std::printf("%u %u\n", text != nullptr ? count : 0u, errors.code);
    GlobalFree(text);
    return 0;
  }
  bool pure = argc > 2 && std::strcmp(argv[2], "pure") == 0;
  uint32_t count = 0;
  void* text = pure ? ConvertToPureText(argv[1], &count)
                    : ConvertToUnicode(argv[1], &count);
  std::printf("%u %u\n", text != nullptr ? count : 0u, GetErrorCode());
  std::free(text);
  return 0;
}
