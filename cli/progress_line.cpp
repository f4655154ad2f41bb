#include "progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace txtppt2::cli {
namespace {

// Carriage return, then "erase to the end of the line".
constexpr const char* kEraseLine = "\r\x1b[K";

}  // namespace

ProgressLine::ProgressLine(bool enabled_) : enabled(enabled_) {}

bool ProgressLine::StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

void ProgressLine::Update(const BatchProgress& progress) {
  last = progress;
  if (enabled) Draw();
}

void ProgressLine::PrintMessage(std::string_view line) {
  Erase();
  std::fwrite(line.data(), 1, line.size(), stderr);
  if (enabled) Draw();
}

void ProgressLine::Finish() {
  if (!drawn) return;
  std::fputc('\n', stderr);
  drawn = false;
}

void ProgressLine::Draw() {
  std::fprintf(stderr, "%stxtppt2: %zu/%zu files, %zu failed", kEraseLine,
               last.done, last.total, last.failed);
  drawn = true;
}

void ProgressLine::Erase() {
  if (!drawn) return;
  std::fputs(kEraseLine, stderr);
  drawn = false;
}

}  // namespace txtppt2::cli
