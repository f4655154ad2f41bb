// The slide records' cost beside the complete text's: for each input, the
// complete text (UTF-16, through the conversion driver) and the
// presentation model (ExtractPresentation: the same walk with the model's
// builder listening, then the property sets), from memory, in rounds that
// alternate the two; prints the CPU time of each (the best round), their
// ratio, and whether it is within the target of 1.5, for the whole folder
// and for each single file given.
//
//   txtppt2_presentation_benchmark [FOLDER|FILE.ppt]... [--rounds N]
//
// Without inputs: the shared corpus. bench/impress_deck.py writes the
// 2000-slide deck that LibreOffice saves.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "api/presentation_extraction.h"
#include "cpu_time.h"
#include "driver/conversion_driver.h"

namespace {

// The records may take at most this multiple of the complete text's time.
constexpr double kTargetRatio = 1.5;

using txtppt2::bench::CpuSeconds;
using txtppt2::bench::IgnoreErrors;

double CompleteText(const std::vector<std::string>& files) {
  IgnoreErrors errors;
  double start = CpuSeconds();
  for (const std::string& file : files) {
    uint32_t count = static_cast<uint32_t>(file.size());
    HGLOBAL block = txtppt2::ConvertMemory(
        reinterpret_cast<const BYTE*>(file.data()), txtppt2::kUnicode, &count,
        errors, txtppt2::kCompleteText);
    GlobalFree(block);
  }
  return CpuSeconds() - start;
}

// Also counts the slides, so that the work cannot be optimised away.
double Records(const std::vector<std::string>& files, size_t* slides) {
  double start = CpuSeconds();
  *slides = 0;
  for (const std::string& file : files) {
    auto extraction = txtppt2::ExtractPresentation(txtppt2::MemorySource{
        reinterpret_cast<const BYTE*>(file.data()),
        static_cast<uint32_t>(file.size())});
    *slides += extraction.presentation.slides.size();
  }
  return CpuSeconds() - start;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Measure(const char* name, const std::vector<std::string>& files,
             int rounds) {
  size_t bytes = 0;
  for (const auto& file : files) bytes += file.size();
  double complete = 1e300, records = 1e300;
  size_t slides = 0;
  for (int round = 0; round < rounds; ++round) {
    complete = std::min(complete, CompleteText(files));
    records = std::min(records, Records(files, &slides));
  }
  double ratio = records / complete;
  std::printf("%-32s %5zu files %8.1f MB %7zu slides %10.2f %10.2f %6.2f  %s\n",
              name, files.size(), bytes / 1e6, slides, complete * 1e3,
              records * 1e3, ratio, ratio <= kTargetRatio ? "within" : "OVER");
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 7;
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
      rounds = std::max(1, std::atoi(argv[++i]));
    else
      inputs.emplace_back(argv[i]);
  }
  if (inputs.empty()) inputs.emplace_back(TXTPPT2_SHARED_DIR "/corpus/ppt");
  std::printf(
      "best of %d rounds, CPU time; target: records at most %.2fx the "
      "complete text\n%-32s %11s %11s %14s %10s %10s %6s  %s\n",
      rounds, kTargetRatio, "input", "", "", "", "complete ms", "records ms",
      "ratio", "target");
  for (const auto& input : inputs) {
    std::vector<std::string> files;
    if (std::filesystem::is_directory(input)) {
      for (const auto& entry : std::filesystem::directory_iterator(input))
        if (entry.path().extension() == ".ppt")
          files.push_back(ReadFile(entry.path()));
    } else {
      files.push_back(ReadFile(input));
    }
    if (files.empty()) {
      std::fprintf(stderr, "no .ppt files in %s\n", input.c_str());
      return 1;
    }
    Measure(input.filename().c_str(), files, rounds);
  }
  return 0;
}
