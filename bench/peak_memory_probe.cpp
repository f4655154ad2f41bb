#include "peak_memory_probe.h"

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace txtppt2::bench {

namespace {

int64_t ResidentKib(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  size_t length = std::strlen(field);
  while (std::getline(status, line))
    if (line.compare(0, length, field) == 0)
      return std::strtoll(line.c_str() + length, nullptr, 10);
  return -1;
}

// In the child: the peak that work adds, in bytes, or -1.
int64_t MeasureHere(const std::function<void()>& work) {
  malloc_trim(0);
  std::FILE* clear = std::fopen("/proc/self/clear_refs", "w");
  if (clear == nullptr || std::fputs("5", clear) < 0 || std::fclose(clear) != 0)
    return -1;
  int64_t before = ResidentKib("VmRSS:");
  work();
  int64_t peak = ResidentKib("VmHWM:");
  return before >= 0 && peak >= before ? (peak - before) * 1024 : -1;
}

}  // namespace

int64_t PeakOfOneRun(const std::function<void()>& work) {
  int pipes[2];
  if (pipe(pipes) != 0) return -1;
  std::fflush(nullptr);
  pid_t child = fork();
  if (child < 0) {
    close(pipes[0]);
    close(pipes[1]);
    return -1;
  }
  if (child == 0) {
    close(pipes[0]);
    int64_t result = MeasureHere(work);
    ssize_t ignored = write(pipes[1], &result, sizeof result);
    (void)ignored;
    _exit(0);
  }
  close(pipes[1]);
  int64_t result = -1;
  if (read(pipes[0], &result, sizeof result) != sizeof result) result = -1;
  close(pipes[0]);
  waitpid(child, nullptr, 0);
  return result;
}

}  // namespace txtppt2::bench
