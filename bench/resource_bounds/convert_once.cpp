// Converts one file from its path, as a host would, and prints the result:
//
//   txtppt2_convert_once PATH [unicode|pure]
//
// prints "count CODE" (the text's byte count, or 0, and the error code).
// bench/resource_bounds.py runs it in a child process to measure the time
// and peak memory of exactly one conversion.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "txtppt2.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH [unicode|pure]\n", argv[0]);
    return 2;
  }
  bool pure = argc > 2 && std::strcmp(argv[2], "pure") == 0;
  uint32_t count = 0;
  void* text = pure ? ConvertToPureText(argv[1], &count)
                    : ConvertToUnicode(argv[1], &count);
  std::printf("%u %u\n", text != nullptr ? count : 0u, GetErrorCode());
  std::free(text);
  return 0;
}
