// Eight threads converting, probing and extracting the slide model (whose
// readers share idle code page converters) of every sample file and corpus
// file, from paths and from memory, for a few seconds: each call gives what
// it gives on one thread alone, a sample file's code is its row's, and a
// probe leaves the error record of the conversion before it. Run under
// ThreadSanitizer in CI (label "concurrency").
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

#include "api/presentation_extraction.h"
#include "support/corpus.h"
#include "support/sample_files.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

namespace fs = std::filesystem;

constexpr int kThreads = 8;
constexpr auto kStressTime = std::chrono::seconds(3);
// A path conversion and a memory one of each width, both probes and the
// slide model; the wide path calls share the narrow ones' way after the
// path.
constexpr int kWays = 7;
constexpr int kModelWay = 6;

struct Input {
  std::string name;
  std::string path;  // ASCII
  std::string bytes;
};

// What a slide model extraction gives, as one string that differs when
// anything compared differs.
std::string ModelSummary(const std::string& bytes) {
  auto extraction = ExtractPresentation(
      MemorySource{reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<uint32_t>(bytes.size())});
  std::string out = std::to_string(extraction.code) + extraction.message;
  const auto& deck = extraction.presentation;
  for (const auto& slide : deck.slides)
    out += "|" + slide.title.value_or("-") + slide.text + slide.notes;
  for (const auto& master : deck.masters) out += "|" + master;
  const auto& p = deck.properties;
  return out + "|" + p.title.value_or("-") + p.author.value_or("-") +
         p.created.value_or("-") + std::to_string(p.custom.size());
}

// What a call leaves: its text (or the probe's answer, or the model's
// summary), then the calling thread's error code and message.
std::string Call(const Input& input, int way) {
  if (way == kModelWay) return ModelSummary(input.bytes);
  uint32_t count = static_cast<uint32_t>(input.bytes.size());
  const char* path = input.path.c_str();
  const void* bytes = input.bytes.data();
  void* block = way == 0   ? ConvertToUnicode(path, &count)
                : way == 1 ? ConvertToPureText(path, &count)
                : way == 2 ? ConvertMemoryToUnicode(bytes, 0, &count)
                : way == 3 ? ConvertMemoryToPureText(bytes, 0, &count)
                           : nullptr;
  std::string outcome;
  if (way == 4) outcome = IsFileSupported(path) ? "yes" : "no";
  if (way == 5) outcome = IsMemDataSupported(bytes, count) ? "yes" : "no";
  if (block != nullptr) {
    outcome.assign(static_cast<const char*>(block), count);
    std::free(block);
  }
  char message[1024];
  GetConversionError(message, sizeof message);
  return outcome + "|" + std::to_string(GetErrorCode()) + "|" + message;
}

TEST(ConversionStressTest, EightThreadsGetTheSingleThreadResults) {
  const fs::path folder = fs::temp_directory_path() /
                          ("txtppt2_stress_" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::vector<Input> inputs;
  const auto& samples = testing::SampleFiles();
  for (const auto& sample : samples) {
    fs::path path = folder / (sample.name + ".ppt");
    std::ofstream(path, std::ios::binary) << sample.bytes;
    inputs.push_back({sample.name, path.string(), sample.bytes});
  }
  for (const auto& file : testing::LoadCorpus())
    inputs.push_back(
        {file.name, file.path.string(), testing::ReadFileBytes(file.path)});
  // Before each probe a failing conversion puts a known error in the record.
  const Input& failing =
      inputs[std::find_if(samples.begin(), samples.end(),
                          [](const auto& s) { return s.errorCode == 4; }) -
             samples.begin()];
  auto job = [&](size_t i) {
    if (i % kWays == 4 || i % kWays == 5) Call(failing, 2);
    return Call(inputs[i / kWays], static_cast<int>(i % kWays));
  };
  const size_t jobs = inputs.size() * kWays;
  std::vector<std::string> expected;
  for (size_t i = 0; i < jobs; ++i) {
    expected.push_back(job(i));
    // A sample file ends every way as its row says; a probe leaves the
    // record of the failing conversion before it.
    if (i / kWays >= samples.size() || i % kWays == kModelWay) continue;
    const auto& row = samples[i / kWays];
    const bool probe = i % kWays >= 4;
    EXPECT_EQ(GetErrorCode(), probe ? 4 : row.errorCode)
        << row.name << " way " << i % kWays;
    if (probe) {
      EXPECT_EQ(expected.back().starts_with("yes|"), row.errorCode == 0)
          << row.name;
    }
  }

  // Each thread starts at its own place in the list and walks on, for the
  // stress time but at least its share of the list and at most all of it.
  const size_t share = (jobs + kThreads - 1) / kThreads;
  const auto deadline = std::chrono::steady_clock::now() + kStressTime;
  std::vector<std::string> failures(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      size_t i = t * share % jobs;
      for (size_t n = 0; n < jobs; ++n, i = (i + 1) % jobs) {
        if (n >= share && std::chrono::steady_clock::now() > deadline) break;
        std::string got = job(i);
        if (got != expected[i] && failures[t].size() < 2000)
          failures[t] +=
              inputs[i / kWays].name + " way " + std::to_string(i % kWays) +
              ": " + got.substr(got.size() - std::min<size_t>(got.size(), 80)) +
              "\n";
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t)
    EXPECT_EQ(failures[t], "") << "thread " << t;
  fs::remove_all(folder);
}

}  // namespace
}  // namespace txtppt2
