// Eight threads converting and probing a mix of sound and damaged files,
// from paths and from memory, for a few seconds: every call must give what
// the same call gives on one thread alone (text, count, code, message), and
// each thread's error record must hold that thread's own last error. Run
// under ThreadSanitizer in CI (label "concurrency").
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/corpus.h"
#include "support/sample_files.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

namespace fs = std::filesystem;

constexpr int kThreads = 8;
constexpr auto kStressTime = std::chrono::seconds(3);

// A path conversion and a memory one of each width, and both probes: the
// wide path calls share the narrow ones' way after the path.
enum class Way {
  kUnicodePath,
  kPureTextPath,
  kUnicodeMemory,
  kPureTextMemory,
  kProbePath,
  kProbeMemory,
};
constexpr Way kWays[] = {Way::kUnicodePath,   Way::kPureTextPath,
                         Way::kUnicodeMemory, Way::kPureTextMemory,
                         Way::kProbePath,     Way::kProbeMemory};

bool IsProbe(Way way) {
  return way == Way::kProbePath || way == Way::kProbeMemory;
}

struct Input {
  std::string name;
  std::string path;  // ASCII
  std::string bytes;
};

// What a call leaves: its result and the calling thread's error record.
struct Outcome {
  bool ok = false;  // a block came back, or the probe said yes
  std::string text;
  uint32_t count = 0;
  uint32_t code = 0;
  std::string message;

  bool operator==(const Outcome&) const = default;
};

Outcome Call(const Input& input, Way way) {
  Outcome outcome;
  uint32_t count = static_cast<uint32_t>(input.bytes.size());
  void* block = nullptr;
  switch (way) {
    case Way::kUnicodePath:
      block = ConvertToUnicode(input.path.c_str(), &count);
      break;
    case Way::kPureTextPath:
      block = ConvertToPureText(input.path.c_str(), &count);
      break;
    case Way::kUnicodeMemory:
      block = ConvertMemoryToUnicode(input.bytes.data(), 0, &count);
      break;
    case Way::kPureTextMemory:
      block = ConvertMemoryToPureText(input.bytes.data(), 0, &count);
      break;
    case Way::kProbePath:
      outcome.ok = IsFileSupported(input.path.c_str());
      break;
    case Way::kProbeMemory:
      outcome.ok = IsMemDataSupported(
          input.bytes.data(), static_cast<uint32_t>(input.bytes.size()));
      break;
  }
  if (!IsProbe(way)) {
    outcome.ok = block != nullptr;
    // A failed conversion's count is not part of its promise.
    if (block != nullptr) {
      outcome.count = count;
      outcome.text.assign(static_cast<const char*>(block), count);
      std::free(block);
    }
  }
  outcome.code = GetErrorCode();
  char message[1024];
  GetConversionError(message, sizeof message);
  outcome.message = message;
  return outcome;
}

// The sample files written to a folder of their own, removed afterwards,
// plus the shared corpus when it is there.
class StressInputs {
 public:
  StressInputs() {
    folder = fs::temp_directory_path() /
             ("txtppt2_stress_" + std::to_string(getpid()));
    fs::create_directories(folder);
    for (const auto& sample : testing::SampleFiles()) {
      fs::path path = folder / (sample.name + ".ppt");
      std::ofstream(path, std::ios::binary) << sample.bytes;
      inputs.push_back({sample.name, path.string(), sample.bytes});
    }
    for (const auto& file : testing::LoadCorpus())
      inputs.push_back(
          {file.name, file.path.string(), testing::ReadFileBytes(file.path)});
  }
  ~StressInputs() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  std::vector<Input> inputs;

 private:
  fs::path folder;
};

struct Job {
  const Input* input;
  Way way;
};

TEST(ConversionStressTest, EightThreadsGetTheSingleThreadResults) {
  StressInputs samples;
  std::vector<Job> jobs;
  for (const auto& input : samples.inputs)
    for (Way way : kWays) jobs.push_back({&input, way});

  // One thread alone first. A conversion before each probe puts a known
  // error in the record, which the probe must leave alone.
  auto emptyInput = std::find_if(
      samples.inputs.begin(), samples.inputs.end(),
      [](const Input& input) { return input.name == "empty_input"; });
  ASSERT_NE(emptyInput, samples.inputs.end());
  const Input& failing = *emptyInput;
  std::vector<Outcome> expected;
  for (const Job& job : jobs) {
    if (IsProbe(job.way)) Call(failing, Way::kUnicodeMemory);
    expected.push_back(Call(*job.input, job.way));
  }
  // The mix must hold successes and both kinds of failure, or the test
  // proves less than it claims.
  auto countCode = [&](uint32_t code) {
    return std::count_if(expected.begin(), expected.end(),
                         [&](const Outcome& o) { return o.code == code; });
  };
  ASSERT_GT(countCode(0), 0);
  ASSERT_GT(countCode(4), 0);
  ASSERT_GT(countCode(1003), 0);

  // Each thread starts at its own place in the list and walks on, for the
  // stress time but at least its share of the list and at most all of it.
  const size_t share = (jobs.size() + kThreads - 1) / kThreads;
  const auto deadline = std::chrono::steady_clock::now() + kStressTime;
  std::vector<std::string> failures(kThreads);
  std::vector<size_t> done(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      size_t i = t * share % jobs.size();
      for (size_t n = 0; n < jobs.size(); ++n, i = (i + 1) % jobs.size()) {
        if (n >= share && std::chrono::steady_clock::now() > deadline) break;
        const Job& job = jobs[i];
        if (IsProbe(job.way)) Call(failing, Way::kUnicodeMemory);
        Outcome got = Call(*job.input, job.way);
        ++done[t];
        if (got == expected[i]) continue;
        if (failures[t].size() < 2000)
          failures[t] +=
              job.input->name + " way " +
              std::to_string(static_cast<int>(job.way)) + ": code " +
              std::to_string(got.code) + " '" + got.message + "', " +
              std::to_string(got.text.size()) + " bytes (expected code " +
              std::to_string(expected[i].code) + " '" + expected[i].message +
              "', " + std::to_string(expected[i].text.size()) + ")\n";
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(failures[t], "") << "thread " << t;
    EXPECT_GE(done[t], share) << "thread " << t;
  }
}

}  // namespace
}  // namespace txtppt2
