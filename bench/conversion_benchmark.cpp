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
// A memcpy of the 100 MB stream is the yardstick; a summary after the table
// prints the conversion/memcpy ratios and the other targets.
//
// Synthetic files are written to a fresh folder under $TMPDIR (or /tmp) and
// deleted at the end; the 1 GB one only with --txtppt2_1gb or
// TXTPPT2_BENCH_1GB=1.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document_stream_size.h"
#include "synthetic_presentation.h"
#include "txtppt2.h"

namespace {

namespace fs = std::filesystem;
using txtppt2::bench::SyntheticPresentation;

enum class Source { kMemory, kPath };
enum class Mode { kUnicode, kPureText };

const char* SourceName(Source s) {
  return s == Source::kMemory ? "memory" : "path";
}
const char* ModeName(Mode m) { return m == Mode::kUnicode ? "unicode" : "pure"; }

// One presentation to convert. Its bytes are loaded (or built) on first use
// and kept, so that every run from memory reads the same resident block.
struct Input {
  std::string name;  // "corpus/x.ppt", "synthetic/100MB"
  std::string path;  // empty until a synthetic file is written
  uint64_t streamSize = 0;
  uint64_t fileSize = 0;
  std::unique_ptr<SyntheticPresentation> synthetic;
  std::string data;
  bool loaded = false;

  const std::string& Data() {
    if (!loaded) {
      if (synthetic) {
        data = synthetic->Build();
      } else {
        std::ifstream in(path, std::ios::binary);
        data.assign(std::istreambuf_iterator<char>(in), {});
      }
      loaded = true;
    }
    return data;
  }
  void Release() {
    std::string().swap(data);
    loaded = false;
  }
};

// The folder of synthetic files, removed at exit and on SIGINT/SIGTERM.
std::string scratchFolder;

void RemoveScratch() {
  if (scratchFolder.empty()) return;
  std::error_code ignored;
  fs::remove_all(scratchFolder, ignored);
  scratchFolder.clear();
}

void RemoveScratchOnSignal(int signal) {
  RemoveScratch();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

const std::string& ScratchFolder() {
  if (scratchFolder.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
        "/txtppt2-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    scratchFolder = pattern;
    std::atexit(RemoveScratch);
    std::signal(SIGINT, RemoveScratchOnSignal);
    std::signal(SIGTERM, RemoveScratchOnSignal);
  }
  return scratchFolder;
}

const std::string& PathOf(Input& input) {
  if (input.path.empty() && input.synthetic) {
    std::string path = ScratchFolder() + "/" +
                       input.name.substr(input.name.find('/') + 1) + ".ppt";
    if (!input.synthetic->WriteFile(path)) {
      std::perror(path.c_str());
      std::exit(1);
    }
    input.path = path;
  }
  return input.path;
}

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
    const std::string& path = PathOf(input);
    text = mode == Mode::kUnicode ? ConvertToUnicode(path.c_str(), &count)
                                  : ConvertToPureText(path.c_str(), &count);
  }
  if (text == nullptr) return -1;
  std::free(text);
  return count;
}

int64_t ResidentKib(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  size_t length = std::strlen(field);
  while (std::getline(status, line))
    if (line.compare(0, length, field) == 0)
      return std::strtoll(line.c_str() + length, nullptr, 10);
  return -1;
}

// The peak resident memory one conversion adds, in bytes, measured in a
// child process: freed heap is handed back first, the peak is reset
// (/proc/self/clear_refs), and the peak after the conversion is compared
// with the resident size before it. -1 where the system cannot tell.
int64_t PeakOfOneConversion(Input& input, Source source, Mode mode) {
  if (source == Source::kMemory) input.Data();  // resident before the fork
  else PathOf(input);
  int pipes[2];
  if (pipe(pipes) != 0) return -1;
  std::fflush(nullptr);
  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    close(pipes[0]);
    malloc_trim(0);
    int64_t result = -1;
    std::FILE* clear = std::fopen("/proc/self/clear_refs", "w");
    if (clear != nullptr && std::fputs("5", clear) >= 0 &&
        std::fclose(clear) == 0) {
      int64_t before = ResidentKib("VmRSS:");
      ConvertOnce(input, source, mode);
      int64_t peak = ResidentKib("VmHWM:");
      if (before >= 0 && peak >= before) result = (peak - before) * 1024;
    }
    ssize_t ignored = write(pipes[1], &result, sizeof result);
    (void)ignored;
    _exit(0);
  }
  close(pipes[1]);
  int64_t result = -1;
  if (read(pipes[0], &result, sizeof result) != sizeof result) result = -1;
  close(pipes[0]);
  waitpid(child, nullptr, 0);
  return result;
}

// Seconds per iteration of each benchmark's final run, for the summary.
std::map<std::string, std::pair<int64_t, double>> runTimes;

void RecordRun(const std::string& name, int64_t iterations, double seconds) {
  auto& [bestIterations, perIteration] = runTimes[name];
  double value = seconds / static_cast<double>(iterations);
  if (iterations > bestIterations ||
      (iterations == bestIterations && value < perIteration)) {
    bestIterations = iterations;
    perIteration = value;
  }
}

std::map<std::string, std::pair<int64_t, int64_t>> peaks;  // peak, limit

std::string CaseName(const Input& input, Source source, Mode mode) {
  return "convert/" + input.name + "/" + SourceName(source) + "/" +
         ModeName(mode);
}

void BM_Convert(benchmark::State& state, Input* input, Source source,
                Mode mode) {
  const std::string name = CaseName(*input, source, mode);
  int64_t count = ConvertOnce(*input, source, mode);  // and loads the input
  if (count < 0) {
    state.SkipWithError("the conversion failed");
    return;
  }
  if (!peaks.count(name)) {
    int64_t limit = static_cast<int64_t>(input->streamSize) *
                        (mode == Mode::kUnicode ? 2 : 1) +
                    count + (int64_t{1} << 20);
    peaks[name] = {PeakOfOneConversion(*input, source, mode), limit};
  }
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) benchmark::DoNotOptimize(ConvertOnce(*input, source, mode));
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  RecordRun(name, state.iterations(), elapsed.count());

  using benchmark::Counter;
  const int64_t width = mode == Mode::kUnicode ? 2 : 1;
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(input->streamSize));
  state.counters["file_bytes_per_second"] = Counter(
      static_cast<double>(input->fileSize), Counter::kIsIterationInvariantRate,
      Counter::kIs1024);
  state.counters["chars_per_second"] =
      Counter(static_cast<double>(count / width),
              Counter::kIsIterationInvariantRate, Counter::kIs1024);
  const auto& [peak, limit] = peaks[name];
  if (peak >= 0) state.counters["peak_MiB"] = peak / 1048576.0;
  state.counters["limit_MiB"] = limit / 1048576.0;
}

// Every corpus file once per iteration.
void BM_ConvertAll(benchmark::State& state, std::vector<Input*> inputs,
                   Source source, Mode mode) {
  int64_t streamBytes = 0, fileBytes = 0, chars = 0;
  for (Input* input : inputs) {
    streamBytes += static_cast<int64_t>(input->streamSize);
    fileBytes += static_cast<int64_t>(input->fileSize);
    chars += ConvertOnce(*input, source, mode) / (mode == Mode::kUnicode ? 2 : 1);
  }
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state)
    for (Input* input : inputs)
      benchmark::DoNotOptimize(ConvertOnce(*input, source, mode));
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  RecordRun(std::string("convert/corpus_all/") + SourceName(source) + "/" +
                ModeName(mode),
            state.iterations(), elapsed.count());
  using benchmark::Counter;
  state.SetBytesProcessed(state.iterations() * streamBytes);
  state.counters["file_bytes_per_second"] =
      Counter(static_cast<double>(fileBytes),
              Counter::kIsIterationInvariantRate, Counter::kIs1024);
  state.counters["chars_per_second"] = Counter(
      static_cast<double>(chars), Counter::kIsIterationInvariantRate,
      Counter::kIs1024);
}

// The yardstick: the same stream copied once with memcpy into memory that
// is already mapped.
void BM_Memcpy(benchmark::State& state, uint64_t bytes) {
  std::vector<char> from(bytes, '\x5a');
  std::vector<char> to(bytes, '\0');
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  RecordRun("memcpy/synthetic/100MB", state.iterations(), elapsed.count());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

std::vector<std::unique_ptr<Input>> CorpusInputs(const std::string& folder) {
  std::vector<std::unique_ptr<Input>> inputs;
  std::error_code error;
  if (!fs::is_directory(folder, error)) return inputs;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder, error))
    if (entry.is_regular_file() && entry.path().extension() == ".ppt")
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    auto input = std::make_unique<Input>();
    input->name = "corpus/" + file.filename().string();
    input->path = file.string();
    input->fileSize = fs::file_size(file, error);
    input->streamSize = txtppt2::bench::DocumentStreamSize(input->Data());
    input->Release();
    uint32_t count = 0;
    void* text = ConvertToUnicode(input->path.c_str(), &count);
    if (text == nullptr) continue;  // not a presentation we convert
    std::free(text);
    inputs.push_back(std::move(input));
  }
  return inputs;
}

std::unique_ptr<Input> SyntheticInput(const char* label, uint64_t bytes) {
  auto input = std::make_unique<Input>();
  input->name = std::string("synthetic/") + label;
  input->synthetic = std::make_unique<SyntheticPresentation>(bytes);
  input->streamSize = input->synthetic->StreamSize();
  input->fileSize = input->synthetic->FileSize();
  return input;
}

double Seconds(const std::string& name) {
  auto it = runTimes.find(name);
  return it == runTimes.end() ? 0 : it->second.second;
}

void PrintSummary(const std::vector<std::unique_ptr<Input>>& synthetic,
                  uint64_t copyBytes) {
  std::printf("\nSummary (wall time per run of each benchmark's final "
              "measurement)\n");
  double copy = Seconds("memcpy/synthetic/100MB");
  for (const auto& input : synthetic) {
    for (Source source : {Source::kMemory, Source::kPath}) {
      for (Mode mode : {Mode::kUnicode, Mode::kPureText}) {
        std::string name = CaseName(*input, source, mode);
        double seconds = Seconds(name);
        if (seconds == 0) continue;
        std::printf("  %-40s %9.2f ms  %6.2f GB/s of stream", name.c_str(),
                    seconds * 1e3, input->streamSize / seconds / 1e9);
        if (copy > 0 && input->name == "synthetic/100MB")
          std::printf("  %5.2fx memcpy", seconds / copy);
        if (input->name == "synthetic/1GB") {
          std::string tenth = name;
          tenth.replace(tenth.find("1GB"), 3, "100MB");
          if (Seconds(tenth) > 0)
            std::printf("  %5.2fx the 100MB run", seconds / Seconds(tenth));
        }
        auto peak = peaks.find(name);
        if (peak != peaks.end() && peak->second.first >= 0)
          std::printf("  peak %.1f of %.1f MiB", peak->second.first / 1048576.0,
                      peak->second.second / 1048576.0);
        std::printf("\n");
      }
    }
  }
  if (copy > 0)
    std::printf("  %-40s %9.2f ms  %6.2f GB/s\n", "memcpy/synthetic/100MB",
                copy * 1e3, copyBytes / copy / 1e9);
  std::fflush(stdout);
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
  if (withGigabyte) synthetic.push_back(SyntheticInput("1GB", 1000000000));

  std::vector<Input*> all;
  for (const auto& input : corpusInputs) all.push_back(input.get());
  for (Source source : {Source::kMemory, Source::kPath}) {
    for (Mode mode : {Mode::kUnicode, Mode::kPureText}) {
      if (!all.empty())
        benchmark::RegisterBenchmark(
            (std::string("convert/corpus_all/") + SourceName(source) + "/" +
             ModeName(mode))
                .c_str(),
            BM_ConvertAll, all, source, mode)
            ->Unit(benchmark::kMillisecond);
      if (corpusFiles)
        for (Input* input : all)
          benchmark::RegisterBenchmark(CaseName(*input, source, mode).c_str(),
                                       BM_Convert, input, source, mode)
              ->Unit(benchmark::kMicrosecond)
              ->MinTime(0.05);
      for (const auto& input : synthetic)
        benchmark::RegisterBenchmark(CaseName(*input, source, mode).c_str(),
                                     BM_Convert, input.get(), source, mode)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
  }
  benchmark::RegisterBenchmark("memcpy/synthetic/100MB", BM_Memcpy,
                               synthetic[2]->streamSize)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  if (all.empty())
    std::fprintf(stderr, "no corpus at %s: synthetic presentations only\n",
                 corpus.c_str());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary(synthetic, synthetic[2]->streamSize);
  RemoveScratch();
  return 0;
}
