// Writes a synthetic presentation (see synthetic_presentation.h) for the
// comparison with catppt, or for any measurement outside the benchmarks:
//
//   txtppt2_synthetic_presentation MEGABYTES OUT
//
// MEGABYTES (of 10^6 bytes) is the size of the "PowerPoint Document" stream to aim for; the
// stream and file sizes written are printed.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "synthetic_presentation.h"

int main(int argc, char** argv) {
  char* end = nullptr;
  unsigned long long megabytes = argc == 3 ? std::strtoull(argv[1], &end, 10) : 0;
  if (argc != 3 || end == argv[1] || *end != '\0' || megabytes == 0 ||
      megabytes > 4000) {
    std::fprintf(stderr, "usage: %s MEGABYTES OUT (MEGABYTES 1 to 4000)\n",
                 argv[0]);
    return 2;
  }
  txtppt2::bench::SyntheticPresentation presentation(megabytes * 1000000);
  if (!presentation.WriteFile(argv[2])) {
    std::fprintf(stderr, "%s: %s\n", argv[2], std::strerror(errno));
    return 1;
  }
  std::printf("%s: stream %llu bytes, file %llu bytes\n", argv[2],
              static_cast<unsigned long long>(presentation.StreamSize()),
              static_cast<unsigned long long>(presentation.FileSize()));
  return 0;
}
