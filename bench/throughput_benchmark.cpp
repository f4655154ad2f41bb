// Throughput of whole conversions from memory as a host that converts file
// after file makes them, each result freed before the next, beside what
// such a host does with the same bytes at the least: a malloc, memcpy and
// free of them, in the same run. Inputs: a presentation written by
// LibreOffice Impress and the synthetic presentation of 100 MB of stream.
//
//   txtppt2_throughput [--deck FILE.ppt] [--slides N] [--synthetic-mb N]
//                      [--runs N]
//
// Without --deck, bench/impress_deck.py writes a deck of --slides slides
// (2000) into a scratch folder, deleted at the end; without soffice the
// deck is left out. After one round that is not counted, each input is
// converted --runs times (20) in each width through ConvertMemoryToUnicode
// and ConvertMemoryToPureText, each result freed, alternating with the host
// copy and with a memcpy into memory that is already mapped; the best time
// of each is kept. Printed per input and width: the best time, GB/s of file
// and of "PowerPoint Document" stream, the ratio to the host copy, the
// minor page faults per conversion (getrusage) beside the result's pages,
// and the ratio of pure text to Unicode.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document_stream_size.h"
#include "host_copy.h"
#include "read_file.h"
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

double SecondsOf(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// One conversion from memory and the release of its block, as a host makes
// it: the text's byte count, or exits when the conversion fails.
uint32_t Convert(const std::string& bytes, bool unicode) {
  uint32_t count = static_cast<uint32_t>(bytes.size());
  void* text = unicode ? ConvertMemoryToUnicode(bytes.data(), 0, &count)
                       : ConvertMemoryToPureText(bytes.data(), 0, &count);
  if (text == nullptr) std::exit(1);
  std::free(text);
  return count;
}

// The best time of one kind of round, and its page faults in all.
struct Figure {
  double best = 1e30;
  long faults = 0;
  uint32_t bytes = 0;  // of the text, for a conversion

  template <typename Step>
  void Time(Step step) {
    long faultsBefore = MinorFaults();
    auto start = Clock::now();
    step();
    best = std::min(best, SecondsOf(Clock::now() - start));
    faults += MinorFaults() - faultsBefore;
  }
};

struct Figures {
  Figure hostCopy, memcpy, unicode, pure;
};

Figures Measure(const Input& input, int runs) {
  std::vector<char> mapped(input.bytes.size(), '\0');  // mapped before timing
  const char* from = input.bytes.data();
  size_t size = input.bytes.size();
  Figures figures;
  for (int run = 0; run <= runs; ++run) {
    // The first round brings everything into its steady state.
    Figures round;
    Figures& into = run == 0 ? round : figures;
    into.hostCopy.Time([&] {
      if (!txtppt2::bench::HostCopy(from, size)) std::exit(1);
    });
    into.memcpy.Time([&] { std::memcpy(mapped.data(), from, size); });
    into.unicode.Time([&] { into.unicode.bytes = Convert(input.bytes, true); });
    into.pure.Time([&] { into.pure.bytes = Convert(input.bytes, false); });
  }
  return figures;
}

void PrintRow(const Input& input, const char* what, const Figure& figure,
              const Figure& hostCopy, int runs, size_t terminator) {
  double seconds = figure.best;
  std::printf("  %-9s %8.3f ms %6.2f GB/s of file %6.2f GB/s of stream", what,
              seconds * 1e3, input.bytes.size() / seconds / 1e9,
              input.streamSize / seconds / 1e9);
  if (&figure != &hostCopy)
    std::printf("  %5.2fx host copy", seconds / hostCopy.best);
  std::printf("  %7.1f faults", static_cast<double>(figure.faults) / runs);
  if (terminator != 0)
    std::printf(" / %zu pages of text",
                (figure.bytes + terminator + 4095) / 4096);
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
      inputs.push_back({std::to_string(slides) + "-slide Impress deck",
                        txtppt2::bench::ReadFile(deck), 0});
  } else {
    inputs.push_back({deck, txtppt2::bench::ReadFile(deck), 0});
  }
  if (!scratch.empty()) fs::remove_all(scratch);
  if (syntheticMb > 0) {
    txtppt2::bench::SyntheticPresentation synthetic(syntheticMb * 1000000);
    inputs.push_back(
        {"synthetic, " + std::to_string(syntheticMb) + " MB of stream",
         synthetic.Build(), 0});
  }

  std::printf(
      "Best of %d conversions from memory, each result freed, beside a host "
      "copy (malloc, memcpy, free) and a memcpy into mapped memory of the "
      "file's bytes in the same run; minor page faults per round\n",
      runs);
  for (Input& input : inputs) {
    input.streamSize = txtppt2::bench::DocumentStreamSize(input.bytes);
    Figures figures = Measure(input, runs);
    std::printf("%s: %.1f MB file, %.1f MB stream\n", input.label.c_str(),
                input.bytes.size() / 1e6, input.streamSize / 1e6);
    PrintRow(input, "host copy", figures.hostCopy, figures.hostCopy, runs, 0);
    PrintRow(input, "memcpy", figures.memcpy, figures.hostCopy, runs, 0);
    PrintRow(input, "unicode", figures.unicode, figures.hostCopy, runs, 2);
    PrintRow(input, "pure", figures.pure, figures.hostCopy, runs, 1);
    std::printf("  pure text / Unicode: %.2f\n",
                figures.pure.best / figures.unicode.best);
  }
  return 0;
}
