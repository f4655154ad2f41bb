// Writes the sample files of the test support, sound and damaged, into a
// folder as fuzzing seeds: NAME.ppt for each.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/sample_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  std::filesystem::path folder(argv[1]);
  std::filesystem::create_directories(folder);
  int written = 0;
  for (const auto& file : txtppt2::testing::SampleFiles()) {
    std::ofstream out(folder / (file.name + ".ppt"),
                      std::ios::binary | std::ios::trunc);
    out.write(file.bytes.data(),
              static_cast<std::streamsize>(file.bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", file.name.c_str());
      return 1;
    }
    ++written;
  }
  std::printf("%d seeds in %s\n", written, folder.c_str());
  return 0;
}
