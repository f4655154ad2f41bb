// One case of the Google Benchmark suite: an input converted from memory or
// from its path, in one of the two output modes, and the case's name.
#ifndef TXTPPT2_BENCH_CONVERSION_CASE_H_
#define TXTPPT2_BENCH_CONVERSION_CASE_H_

#include <string>

#include "benchmark_inputs.h"

namespace txtppt2::bench {

enum class Source { kMemory, kPath };
enum class Mode { kUnicode, kPureText };

inline const char* SourceName(Source s) {
  return s == Source::kMemory ? "memory" : "path";
}
inline const char* ModeName(Mode m) {
  return m == Mode::kUnicode ? "unicode" : "pure";
}

// "convert/<input>/<source>/<mode>".
inline std::string CaseName(const std::string& input, Source source,
                            Mode mode) {
  return "convert/" + input + "/" + SourceName(source) + "/" + ModeName(mode);
}

}  // namespace txtppt2::bench

#endif  // TXTPPT2_BENCH_CONVERSION_CASE_H_
