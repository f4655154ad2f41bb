// Access to the shared corpus of real presentations and their expected
// output. The corpus lives beside the project, not in it: outside CI a
// missing corpus skips the tests that need it, in CI (CI=true) it fails them.
#ifndef TXTPPT2_TESTS_SUPPORT_CORPUS_H_
#define TXTPPT2_TESTS_SUPPORT_CORPUS_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace txtppt2::testing {

struct CorpusFile {
  std::string name;            // file name, e.g. "37625.ppt"
  std::filesystem::path path;  // the presentation itself
};

// The folder of the shared corpus, or nullopt when it is not there.
std::optional<std::filesystem::path> CorpusDir();

// Every corpus presentation, sorted by name; empty when the corpus is
// missing. (Expected outputs are compared by the C host test.)
std::vector<CorpusFile> LoadCorpus();

// Whole file as bytes; throws std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

bool RunningInCi();

}  // namespace txtppt2::testing

// Skips the current test when the corpus is missing, or fails it in CI.
#define TXTPPT2_REQUIRE_CORPUS()                                           \
  do {                                                                     \
    if (!::txtppt2::testing::CorpusDir()) {                                \
      if (::txtppt2::testing::RunningInCi())                               \
        FAIL() << "the shared corpus (../shared/corpus) is missing in CI"; \
      GTEST_SKIP() << "the shared corpus (../shared/corpus) is not here; " \
                      "corpus tests run in CI";                            \
    }                                                                      \
  } while (0)

#endif  // TXTPPT2_TESTS_SUPPORT_CORPUS_H_
