// Benchmarks of whole conversions through the library's exports, as a host
// makes them: from memory and from a path, in both output modes, over every
// file of the shared corpus and over synthetic presentations of 1 MB, 10 MB
// and 100 MB of "PowerPoint Document" stream (and 1 GB when asked).
//
//   txtppt2_benchmarks [--txtppt2_1gb] [--txtppt2_corpus=DIR]
//                      [--txtppt2_no_corpus_files] [benchmark flags]
//
// Each conversion reports bytes_per_second of stream, file_bytes_per_second
// of input file and chars_per_second of text, and the peak memory one
// conversion adds to the process (peak_MiB, measured once per case in a
// child process) beside its allowance (limit_MiB: two bytes per stream byte
// for UTF-16 output, one for pure text, plus the result block and 1 MiB).
// A host's copy of the 100 MB stream (malloc, memcpy, free) is the
// yardstick; a summary after the table prints the conversion/copy ratios
// and the other targets.
//
// Synthetic files are written to a fresh folder under $TMPDIR (or /tmp) and
// deleted at the end; the 1 GB one only with --txtppt2_1gb or
// TXTPPT2_BENCH_1GB=1.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "benchmark_inputs.h"
#include "benchmark_summary.h"
#include "conversion_case.h"
#include "host_copy.h"
#include "peak_memory_probe.h"
#include "txtppt2.h"

namespace {

using namespace txtppt2::bench;

// One conversion through the exports; the text's byte count, or -1.
int64_t ConvertOnce(Input& input, Source source, Mode mode) {
  uint32_t count = 0;
  void* text;
  if (source == Source::kMemory) {
    const std::string& data = input.Data();
    count = static_cast<uint32_t>(data.size());
    text = mode == Mode::kUnicode
               ? ConvertMemoryToUnicode(data.data(), 0, &count)
               : ConvertMemoryToPureText(data.data(), 0, &count);
  } else {
    const std::string& path = input.Path();
    text = mode == Mode::kUnicode ? ConvertToUnicode(path.c_str(), &count)
                                  : ConvertToPureText(path.c_str(), &count);
  }
  if (text == nullptr) return -1;
  std::free(text);
  return count;
}

PeakFigures peaks;

void BM_Convert(benchmark::State& state, Input* input, Source source,
                Mode mode) {
  const std::string name = CaseName(input->name, source, mode);
  int64_t count = ConvertOnce(*input, source, mode);  // and loads the input
  if (count < 0) {
    state.SkipWithError("the conversion failed");
    return;
  }
  if (!peaks.count(name)) {
    int64_t limit = static_cast<int64_t>(input->streamSize) *
                        (mode == Mode::kUnicode ? 2 : 1) +
                    count + (int64_t{1} << 20);
    peaks[name] = {PeakOfOneRun([&] { ConvertOnce(*input, source, mode); }),
                   limit};
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(ConvertOnce(*input, source, mode));

  using benchmark::Counter;
  const int64_t width = mode == Mode::kUnicode ? 2 : 1;
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(input->streamSize));
  state.counters["file_bytes_per_second"] =
      Counter(static_cast<double>(input->fileSize),
              Counter::kIsIterationInvariantRate, Counter::kIs1024);
  state.counters["chars_per_second"] =
      Counter(static_cast<double>(count / width),
              Counter::kIsIterationInvariantRate, Counter::kIs1024);
  const PeakFigure& peak = peaks[name];
  if (peak.peak >= 0) state.counters["peak_MiB"] = peak.peak / 1048576.0;
  state.counters["limit_MiB"] = peak.limit / 1048576.0;
}

// Every corpus file once per iteration.
void BM_ConvertAll(benchmark::State& state, std::vector<Input*> inputs,
                   Source source, Mode mode) {
  int64_t streamBytes = 0, fileBytes = 0, chars = 0;
  for (Input* input : inputs) {
    streamBytes += static_cast<int64_t>(input->streamSize);
    fileBytes += static_cast<int64_t>(input->fileSize);
    chars +=
        ConvertOnce(*input, source, mode) / (mode == Mode::kUnicode ? 2 : 1);
  }
  for (auto _ : state)
    for (Input* input : inputs)
      benchmark::DoNotOptimize(ConvertOnce(*input, source, mode));
  using benchmark::Counter;
  state.SetBytesProcessed(state.iterations() * streamBytes);
  state.counters["file_bytes_per_second"] =
      Counter(static_cast<double>(fileBytes),
              Counter::kIsIterationInvariantRate, Counter::kIs1024);
  state.counters["chars_per_second"] =
      Counter(static_cast<double>(chars), Counter::kIsIterationInvariantRate,
              Counter::kIs1024);
}

// The yardstick: the host's copy of as many bytes as the stream holds.
void BM_HostCopy(benchmark::State& state, uint64_t bytes) {
  std::string from(bytes, '\x5a');
  for (auto _ : state)
    if (!HostCopy(from.data(), from.size())) state.SkipWithError("no memory");
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

}  // namespace

int main(int argc, char** argv) {
  bool withGigabyte = false;
  bool corpusFiles = true;
  const char* env = std::getenv("TXTPPT2_BENCH_1GB");
  if (env != nullptr && std::strcmp(env, "") != 0 && std::strcmp(env, "0") != 0)
    withGigabyte = true;
  std::string corpus = TXTPPT2_SHARED_DIR "/corpus/ppt";
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--txtppt2_1gb")
      withGigabyte = true;
    else if (arg == "--txtppt2_no_corpus_files")
      corpusFiles = false;
    else if (arg.rfind("--txtppt2_corpus=", 0) == 0)
      corpus = arg.substr(std::strlen("--txtppt2_corpus="));
    else
      rest.push_back(argv[i]);
  }
  int restCount = static_cast<int>(rest.size());
  benchmark::Initialize(&restCount, rest.data());
  if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 1;

  static const std::vector<std::unique_ptr<Input>> corpusInputs =
      CorpusInputs(corpus);
  std::vector<std::unique_ptr<Input>> synthetic;
  synthetic.push_back(SyntheticInput("1MB", 1000000));
  synthetic.push_back(SyntheticInput("10MB", 10000000));
  synthetic.push_back(SyntheticInput("100MB", 100000000));
  const uint64_t yardstickBytes = synthetic.back()->streamSize;
  if (withGigabyte) synthetic.push_back(SyntheticInput("1GB", 1000000000));

  std::vector<Input*> all;
  for (const auto& input : corpusInputs) all.push_back(input.get());
  for (Source source : {Source::kMemory, Source::kPath}) {
    for (Mode mode : {Mode::kUnicode, Mode::kPureText}) {
      if (!all.empty())
        benchmark::RegisterBenchmark(
            CaseName("corpus_all", source, mode).c_str(), BM_ConvertAll, all,
            source, mode)
            ->Unit(benchmark::kMillisecond);
      if (corpusFiles)
        for (Input* input : all)
          benchmark::RegisterBenchmark(
              CaseName(input->name, source, mode).c_str(), BM_Convert, input,
              source, mode)
              ->Unit(benchmark::kMicrosecond)
              ->MinTime(0.05);
      for (const auto& input : synthetic)
        benchmark::RegisterBenchmark(
            CaseName(input->name, source, mode).c_str(), BM_Convert,
            input.get(), source, mode)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
  }
  benchmark::RegisterBenchmark(kHostCopyName, BM_HostCopy, yardstickBytes)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  if (all.empty())
    std::fprintf(stderr, "no corpus at %s: synthetic presentations only\n",
                 corpus.c_str());
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  PrintSummary(reporter, synthetic, peaks, yardstickBytes);
  RemoveScratch();
  return 0;
}
