// A whole file's bytes, for the benchmarks that convert from memory.
#ifndef TXTPPT2_BENCH_READ_FILE_H_
#define TXTPPT2_BENCH_READ_FILE_H_

#include <string>

namespace txtppt2::bench {

// The bytes of the file at path; empty when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace txtppt2::bench

#endif  // TXTPPT2_BENCH_READ_FILE_H_
