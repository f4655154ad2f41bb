// What the plain timing programs of bench/ share: the process's CPU time,
// and an error recorder for conversions whose failures they do not report.
#ifndef TXTPPT2_BENCH_CPU_TIME_H_
#define TXTPPT2_BENCH_CPU_TIME_H_

#include <time.h>

#include <cstdint>

#include "driver/error_recorder.h"

namespace txtppt2::bench {

inline double CpuSeconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

class IgnoreErrors final : public ErrorRecorder {
 public:
  void SetConversionError(const char*, uint32_t) override {}
  void ClearConversionError() override {}
};

}  // namespace txtppt2::bench

#endif  // TXTPPT2_BENCH_CPU_TIME_H_
