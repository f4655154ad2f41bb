// Throughput of whole conversions from memory, beside a memcpy of the same
// bytes in the same run, on a presentation written by LibreOffice Impress
// and on the synthetic presentation of 100 MB of stream:
//
//   txtppt2_throughput [--deck FILE.ppt] [--slides N] [--synthetic-mb N]
//                      [--runs N]
//
// Without --deck, bench/impress_deck.py writes a deck of --slides slides
// (2000) into a scratch folder, deleted at the end; without soffice the
// deck is left out. Each input is converted --runs times (20) in each width
// through ConvertMemoryToUnicode and ConvertMemoryToPureText, alternating
// with a memcpy of the file's bytes into memory that is already mapped; the
// best time of each is kept. Printed per input and width: the best time,
// GB/s of file and of "PowerPoint Document" stream, the ratio to the
// memcpy, and the ratio of pure text to Unicode.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "document_stream_size.h"
#include "synthetic_presentation.h"
#include "txtppt2.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Input {
  std::string label;
  std::string bytes;
  uint64_t streamSize = 0;
};

// Writes the Impress deck into folder; empty when it cannot be made.
std::string WriteImpressDeck(const std::string& folder, int slides) {
  std::string path = folder + "/impress.ppt";
  std::string command = std::string("/usr/bin/python3 '") +
                        TXTPPT2_BENCH_DIR "/impress_deck.py' '" + path +
                        "' --slides " + std::to_string(slides);
  std::fprintf(stderr, "writing a %d-slide deck with LibreOffice...\n", slides);
  if (std::system(command.c_str()) != 0) return "";
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

double SecondsOf(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// One conversion from memory and the release of its block.
bool Convert(const std::string& bytes, bool unicode) {
  uint32_t count = static_cast<uint32_t>(bytes.size());
  void* text = unicode ? ConvertMemoryToUnicode(bytes.data(), 0, &count)
                       : ConvertMemoryToPureText(bytes.data(), 0, &count);
  std::free(text);
  return text != nullptr;
}

struct Best {
  double copy = 1e30, unicode = 1e30, pure = 1e30;
};

Best Measure(const Input& input, int runs) {
  std::vector<char> copy(input.bytes.size(), '\0');  // mapped before timing
  Best best;
  for (int run = 0; run < runs; ++run) {
    auto start = Clock::now();
    std::memcpy(copy.data(), input.bytes.data(), input.bytes.size());
    auto copied = Clock::now();
    if (!Convert(input.bytes, true)) std::exit(1);
    auto unicode = Clock::now();
    if (!Convert(input.bytes, false)) std::exit(1);
    auto pure = Clock::now();
    best.copy = std::min(best.copy, SecondsOf(copied - start));
    best.unicode = std::min(best.unicode, SecondsOf(unicode - copied));
    best.pure = std::min(best.pure, SecondsOf(pure - unicode));
  }
  return best;
}

void PrintRow(const Input& input, const char* what, double seconds,
              double copy) {
  std::printf("  %-8s %9.3f ms %7.2f GB/s of file %7.2f GB/s of stream", what,
              seconds * 1e3, input.bytes.size() / seconds / 1e9,
              input.streamSize / seconds / 1e9);
  if (seconds != copy) std::printf("  %5.2fx memcpy", seconds / copy);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string deck;
  int slides = 2000, runs = 20;
  uint64_t syntheticMb = 100;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "%s needs a value\n", arg.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--deck")
      deck = value();
    else if (arg == "--slides")
      slides = std::atoi(value().c_str());
    else if (arg == "--runs")
      runs = std::max(1, std::atoi(value().c_str()));
    else if (arg == "--synthetic-mb")
      syntheticMb = std::strtoull(value().c_str(), nullptr, 10);
    else {
      std::fprintf(stderr,
                   "usage: %s [--deck FILE.ppt] [--slides N] "
                   "[--synthetic-mb N] [--runs N]\n",
                   argv[0]);
      return 2;
    }
  }

  std::vector<Input> inputs;
  fs::path scratch;
  if (deck.empty()) {
    char pattern[] = "/tmp/txtppt2-throughput-XXXXXX";
    if (mkdtemp(pattern) != nullptr) {
      scratch = pattern;
      deck = WriteImpressDeck(scratch, slides);
    }
    if (deck.empty())
      std::fprintf(stderr,
                   "no Impress deck (is libreoffice-impress "
                   "installed?): the synthetic presentation only\n");
    else
      inputs.push_back(
          {std::to_string(slides) + "-slide Impress deck", ReadFile(deck), 0});
  } else {
    inputs.push_back({deck, ReadFile(deck), 0});
  }
  if (!scratch.empty()) fs::remove_all(scratch);
  if (syntheticMb > 0) {
    txtppt2::bench::SyntheticPresentation synthetic(syntheticMb * 1000000);
    inputs.push_back(
        {"synthetic, " + std::to_string(syntheticMb) + " MB of stream",
         synthetic.Build(), 0});
  }

  std::printf(
      "Best of %d conversions from memory, beside a memcpy of the "
      "file's bytes in the same run\n",
      runs);
  for (Input& input : inputs) {
    input.streamSize = txtppt2::bench::DocumentStreamSize(input.bytes);
    Best best = Measure(input, runs);
    std::printf("%s: %.1f MB file, %.1f MB stream\n", input.label.c_str(),
                input.bytes.size() / 1e6, input.streamSize / 1e6);
    PrintRow(input, "memcpy", best.copy, best.copy);
    PrintRow(input, "unicode", best.unicode, best.copy);
    PrintRow(input, "pure", best.pure, best.copy);
    std::printf("  pure text / Unicode: %.2f\n", best.pure / best.unicode);
  }
  return 0;
}
