// The summary after the Google Benchmark suite's table: each synthetic
// conversion's time and GB/s, its ratio to the host copy of the 100 MB
// stream, the 1 GB/100 MB ratio, and the peak memory beside its allowance.
// The times are Google Benchmark's own, taken from its reports.
#ifndef TXTPPT2_BENCH_BENCHMARK_SUMMARY_H_
#define TXTPPT2_BENCH_BENCHMARK_SUMMARY_H_

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "benchmark_inputs.h"

namespace txtppt2::bench {

// The peak memory one conversion adds (-1: unknown) and its allowance, in
// bytes, by case name.
struct PeakFigure {
  int64_t peak = -1;
  int64_t limit = 0;
};
using PeakFigures = std::map<std::string, PeakFigure>;

// The console's table, keeping each benchmark's wall time per iteration.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;

  // Seconds per iteration of the named benchmark (the best of its
  // repetitions); 0 when it did not run.
  double Seconds(const std::string& name) const;

 private:
  std::map<std::string, double> seconds;
};

// The name of the yardstick that the summary divides by.
inline constexpr const char* kHostCopyName = "host_copy/synthetic/100MB";

// Prints the summary of the synthetic inputs to stdout; copyBytes is the
// size of the host copy.
void PrintSummary(const SummaryReporter& times,
                  const std::vector<std::unique_ptr<Input>>& synthetic,
                  const PeakFigures& peaks, uint64_t copyBytes);

}  // namespace txtppt2::bench

#endif  // TXTPPT2_BENCH_BENCHMARK_SUMMARY_H_
