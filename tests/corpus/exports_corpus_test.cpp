// Every corpus file through the six conversion exports and the three
// probes, as a host would call them, compared with the expected output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/corpus.h"
#include "txtppt2.h"

namespace txtppt2 {
namespace {

using testing::CorpusFile;

struct Result {
  bool ok;
  std::string bytes;  // the text, when ok
  uint32_t code;
  std::string message;
  bool terminated;  // a NUL of the text's width follows the text
};

Result Take(void* block, uint32_t count, size_t width) {
  Result result{block != nullptr, {}, GetErrorCode(), {}, false};
  char message[1024];
  GetConversionError(message, sizeof message);
  result.message = message;
  if (block != nullptr) {
    const char* text = static_cast<const char*>(block);
    result.bytes.assign(text, count);
    result.terminated = std::memcmp(text + count, "\0\0", width) == 0;
    std::free(block);
  }
  return result;
}

std::u16string Utf16Path(const std::string& path) {
  // Corpus paths are ASCII.
  return std::u16string(path.begin(), path.end());
}

// The six ways to convert one file, each with its result.
std::vector<std::pair<std::string, Result>> ConvertEveryWay(
    const CorpusFile& file, const std::string& data) {
  std::string path = file.path.string();
  std::u16string widePath = Utf16Path(path);
  uint32_t inputSize = static_cast<uint32_t>(data.size());
  struct Call {
    const char* name;
    size_t width;
    void* (*convert)(const std::string&, const std::u16string&,
                     const std::string&, uint32_t*);
  };
  const Call calls[] = {
      {"ConvertToUnicode", 2,
       [](const std::string& p, const std::u16string&, const std::string&,
          uint32_t* count) { return ConvertToUnicode(p.c_str(), count); }},
      {"ConvertToUnicodeW", 2,
       [](const std::string&, const std::u16string& w, const std::string&,
          uint32_t* count) { return ConvertToUnicodeW(w.c_str(), count); }},
      {"ConvertMemoryToUnicode", 2,
       [](const std::string&, const std::u16string&, const std::string& d,
          uint32_t* count) {
         return ConvertMemoryToUnicode(d.data(), 0, count);
       }},
      {"ConvertToPureText", 1,
       [](const std::string& p, const std::u16string&, const std::string&,
          uint32_t* count) { return ConvertToPureText(p.c_str(), count); }},
      {"ConvertToPureTextW", 1,
       [](const std::string&, const std::u16string& w, const std::string&,
          uint32_t* count) { return ConvertToPureTextW(w.c_str(), count); }},
      {"ConvertMemoryToPureText", 1,
       [](const std::string&, const std::u16string&, const std::string& d,
          uint32_t* count) {
         return ConvertMemoryToPureText(d.data(), 0xFFFFFFFF, count);
       }},
  };
  std::vector<std::pair<std::string, Result>> results;
  for (const auto& call : calls) {
    uint32_t count = inputSize;  // read by the memory calls only
    void* block = call.convert(path, widePath, data, &count);
    results.emplace_back(call.name, Take(block, count, call.width));
  }
  return results;
}

void ExpectFileConverts(const CorpusFile& file) {
  std::string data = testing::ReadFileBytes(file.path);
  for (const auto& [call, result] : ConvertEveryWay(file, data)) {
    bool unicode = call.find("Unicode") != std::string::npos;
    if (file.errorCode) {
      EXPECT_FALSE(result.ok) << file.name << " " << call;
      EXPECT_EQ(result.code, *file.errorCode) << file.name << " " << call;
      continue;
    }
    ASSERT_TRUE(result.ok) << file.name << " " << call << ": " << result.message;
    const std::string& expected = unicode ? *file.utf16 : *file.ansi;
    EXPECT_TRUE(result.bytes == expected)
        << file.name << " " << call << ": text differs (" << result.bytes.size()
        << " bytes, expected " << expected.size() << ")";
    EXPECT_TRUE(result.terminated) << file.name << " " << call;
    EXPECT_EQ(result.code, 0u) << file.name << " " << call;
    EXPECT_EQ(result.message, "") << file.name << " " << call;
  }
  bool supported = !file.errorCode.has_value();
  std::string path = file.path.string();
  EXPECT_EQ(IsFileSupported(path.c_str()), supported) << file.name;
  EXPECT_EQ(IsFileSupportedW(Utf16Path(path).c_str()), supported) << file.name;
  EXPECT_EQ(IsMemDataSupported(data.data(), static_cast<uint32_t>(data.size())),
            supported)
      << file.name;
}

TEST(ExportsCorpusTest, EveryFileEveryWay) {
  TXTPPT2_REQUIRE_CORPUS();
  auto corpus = testing::LoadCorpus();
  ASSERT_GT(corpus.size(), 100u);
  for (const auto& file : corpus) ExpectFileConverts(file);
}

// Threads converting different files at once get the single-thread results,
// and each thread's error record holds its own last error.
TEST(ExportsCorpusTest, ThreadsConvertIndependently) {
  TXTPPT2_REQUIRE_CORPUS();
  auto corpus = testing::LoadCorpus();
  constexpr int kThreads = 4;
  constexpr int kRounds = 2;
  std::vector<std::string> failures(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        for (size_t i = t; i < corpus.size(); i += kThreads) {
          const auto& file = corpus[i];
          std::string data = testing::ReadFileBytes(file.path);
          uint32_t count = static_cast<uint32_t>(data.size());
          void* block = ConvertMemoryToUnicode(data.data(), 0, &count);
          Result r = Take(block, count, 2);
          bool good = file.errorCode ? (!r.ok && r.code == *file.errorCode)
                                     : (r.ok && r.bytes == *file.utf16 && r.code == 0);
          if (!good) failures[t] += file.name + " ";
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], "") << "thread " << t;
}

}  // namespace
}  // namespace txtppt2
