// The complete text's cost beside the exact text's: converts every
// presentation of a folder from memory through the conversion driver in
// both scopes, in rounds that alternate the two, and prints the CPU time
// of each scope over the whole folder (the best round), and their ratio.
//
//   txtppt2_complete_benchmark [FOLDER [ROUNDS]]
//
// FOLDER defaults to the shared corpus, ROUNDS to 7.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cpu_time.h"
#include "driver/conversion_driver.h"

namespace {

using txtppt2::TextScope;

using txtppt2::bench::CpuSeconds;
using txtppt2::bench::IgnoreErrors;

// Converts every file once; returns the CPU seconds taken.
double ConvertAll(const std::vector<std::string>& files,
                  txtppt2::OutputMode mode, TextScope scope) {
  IgnoreErrors errors;
  double start = CpuSeconds();
  for (const std::string& file : files) {
    uint32_t count = static_cast<uint32_t>(file.size());
    HGLOBAL block =
        txtppt2::ConvertMemory(reinterpret_cast<const BYTE*>(file.data()), mode,
                               &count, errors, scope);
    GlobalFree(block);
  }
  return CpuSeconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path folder =
      argc > 1 ? argv[1] : TXTPPT2_SHARED_DIR "/corpus/ppt";
  int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  std::vector<std::string> files;
  size_t bytes = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".ppt") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files.emplace_back(std::istreambuf_iterator<char>(in),
                       std::istreambuf_iterator<char>());
    bytes += files.back().size();
  }
  if (files.empty()) {
    std::fprintf(stderr, "no .ppt files in %s\n", folder.c_str());
    return 1;
  }
  std::printf("%zu files, %.1f MB, best of %d rounds (CPU time)\n",
              files.size(), bytes / 1e6, rounds);
  std::printf("%-10s %12s %12s %8s\n", "output", "exact ms", "complete ms",
              "ratio");
  for (auto mode : {txtppt2::kUnicode, txtppt2::kPureText}) {
    double exact = 1e300, complete = 1e300;
    for (int round = 0; round < rounds; ++round) {
      exact = std::min(exact, ConvertAll(files, mode, txtppt2::kExactText));
      complete =
          std::min(complete, ConvertAll(files, mode, txtppt2::kCompleteText));
    }
    std::printf("%-10s %12.2f %12.2f %8.2f\n",
                mode == txtppt2::kUnicode ? "unicode" : "pure text",
                exact * 1e3, complete * 1e3, complete / exact);
  }
  return 0;
}
