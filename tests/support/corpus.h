// The shared corpus of real presentations, which lives beside the project,
// not in it. The C++ tests take it as more input when it is there; the C
// host test, which compares it with the expected output, fails without it
// in CI (CI=true).
#ifndef TXTPPT2_TESTS_SUPPORT_CORPUS_H_
#define TXTPPT2_TESTS_SUPPORT_CORPUS_H_

#include <filesystem>
#include <string>
#include <vector>

namespace txtppt2::testing {

struct CorpusFile {
  std::string name;            // file name, e.g. "37625.ppt"
  std::filesystem::path path;  // the presentation itself
};

// Every corpus presentation, sorted by name; empty when the corpus is
// missing. (Expected outputs are compared by the C host test.)
std::vector<CorpusFile> LoadCorpus();

// Whole file as bytes; throws std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_CORPUS_H_
