// The presentations the Google Benchmark suite converts: the corpus files
// and synthetic presentations, each loaded (or built) on first use and
// kept, and written to a scratch folder when a conversion needs a path.
#ifndef TXTPPT2_BENCH_BENCHMARK_INPUTS_H_
#define TXTPPT2_BENCH_BENCHMARK_INPUTS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "synthetic_presentation.h"

namespace txtppt2::bench {

// One presentation to convert. Its bytes are loaded (or built) on first use
// and kept, so that every run from memory reads the same resident block.
struct Input {
  std::string name;  // "corpus/x.ppt", "synthetic/100MB"
  std::string path;  // empty until a synthetic file is written
  uint64_t streamSize = 0;
  uint64_t fileSize = 0;
  std::unique_ptr<SyntheticPresentation> synthetic;

  const std::string& Data();
  void Release();
  // The file's path; a synthetic presentation is written to the scratch
  // folder first (exits when it cannot be).
  const std::string& Path();

 private:
  std::string data;
  bool loaded = false;
};

// Every .ppt file of folder that converts, in name order; none when the
// folder is missing.
std::vector<std::unique_ptr<Input>> CorpusInputs(const std::string& folder);

// A synthetic presentation of bytes of stream, named "synthetic/label".
std::unique_ptr<Input> SyntheticInput(const char* label, uint64_t bytes);

// Removes the scratch folder of the synthetic files, if there is one; also
// done at exit and on SIGINT and SIGTERM.
void RemoveScratch();

}  // namespace txtppt2::bench

#endif  // TXTPPT2_BENCH_BENCHMARK_INPUTS_H_
