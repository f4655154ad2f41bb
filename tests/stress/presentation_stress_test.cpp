// Eight threads extracting the presentation model of every sample file and
// corpus file at once, repeatedly: each extraction must equal the one made
// on one thread alone (slides, texts, titles, properties), so that what the
// model's readers share (the idle code page converters) is handed on safely.
// Run under ThreadSanitizer in CI (label "concurrency").
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "api/presentation_extraction.h"
#include "support/corpus.h"
#include "support/sample_files.h"

namespace txtppt2 {
namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 3;

// What an extraction gives, as one string that differs when anything
// compared differs.
std::string Summary(const std::string& bytes) {
  auto extraction = ExtractPresentation(
      MemorySource{reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<uint32_t>(bytes.size())});
  std::string out = std::to_string(extraction.code) + extraction.message;
  const auto& deck = extraction.presentation;
  for (const auto& slide : deck.slides)
    out += "|" + slide.title.value_or("-") + slide.text + slide.notes;
  for (const auto& master : deck.masters) out += "|" + master;
  const auto& p = deck.properties;
  out += "|" + p.title.value_or("-") + p.author.value_or("-") +
         p.created.value_or("-") + std::to_string(p.custom.size());
  return out;
}

TEST(PresentationStressTest, ThreadsExtractingAtOnceAgreeWithOneThread) {
  std::vector<std::string> inputs;
  for (const auto& sample : testing::SampleFiles())
    inputs.push_back(sample.bytes);
  for (const auto& file : testing::LoadCorpus())
    inputs.push_back(testing::ReadFileBytes(file.path));
  std::vector<std::string> expected;
  for (const auto& input : inputs) expected.push_back(Summary(input));

  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round)
        for (size_t i = 0; i < inputs.size(); ++i) {
          size_t at = (i + static_cast<size_t>(t) * 7) % inputs.size();
          if (Summary(inputs[at]) != expected[at]) ++mismatches;
        }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace txtppt2
