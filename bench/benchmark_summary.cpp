#include "benchmark_summary.h"

#include <algorithm>
#include <cstdio>

#include "conversion_case.h"

namespace txtppt2::bench {

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration || run.error_occurred ||
        run.iterations == 0)
      continue;
    double perIteration =
        run.real_accumulated_time / static_cast<double>(run.iterations);
    auto [it, added] =
        seconds.emplace(run.run_name.function_name, perIteration);
    if (!added) it->second = std::min(it->second, perIteration);
  }
}

double SummaryReporter::Seconds(const std::string& name) const {
  auto it = seconds.find(name);
  return it == seconds.end() ? 0 : it->second;
}

void PrintSummary(const SummaryReporter& times,
                  const std::vector<std::unique_ptr<Input>>& synthetic,
                  const PeakFigures& peaks, uint64_t copyBytes) {
  std::printf(
      "\nSummary (wall time per run of each benchmark's final "
      "measurement)\n");
  double copy = times.Seconds(kHostCopyName);
  for (const auto& input : synthetic) {
    for (Source source : {Source::kMemory, Source::kPath}) {
      for (Mode mode : {Mode::kUnicode, Mode::kPureText}) {
        std::string name = CaseName(input->name, source, mode);
        double seconds = times.Seconds(name);
        if (seconds == 0) continue;
        std::printf("  %-40s %9.2f ms  %6.2f GB/s of stream", name.c_str(),
                    seconds * 1e3, input->streamSize / seconds / 1e9);
        if (copy > 0 && input->name == "synthetic/100MB")
          std::printf("  %5.2fx host copy", seconds / copy);
        if (input->name == "synthetic/1GB") {
          std::string tenth = name;
          tenth.replace(tenth.find("1GB"), 3, "100MB");
          if (times.Seconds(tenth) > 0)
            std::printf("  %5.2fx the 100MB run",
                        seconds / times.Seconds(tenth));
        }
        auto peak = peaks.find(name);
        if (peak != peaks.end() && peak->second.peak >= 0)
          std::printf("  peak %.1f of %.1f MiB", peak->second.peak / 1048576.0,
                      peak->second.limit / 1048576.0);
        std::printf("\n");
      }
    }
  }
  if (copy > 0)
    std::printf("  %-40s %9.2f ms  %6.2f GB/s\n", kHostCopyName, copy * 1e3,
                copyBytes / copy / 1e9);
  std::fflush(stdout);
}

}  // namespace txtppt2::bench
