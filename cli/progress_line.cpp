#include "progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace txtppt2::cli {
namespace {

// Carriage return, then "erase to the end of the line".
constexpr const char* kEraseLine = "\r\x1b[K";

}  // namespace

ProgressLine::ProgressLine(bool enabled) : enabled_(enabled) {}

bool ProgressLine::StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

void ProgressLine::Update(const BatchProgress& progress) {
  last_ = progress;
  if (enabled_) Draw();
}

void ProgressLine::PrintMessage(std::string_view line) {
  Erase();
  std::fwrite(line.data(), 1, line.size(), stderr);
  if (enabled_) Draw();
}

void ProgressLine::Finish() {
  if (!drawn_) return;
  std::fputc('\n', stderr);
  drawn_ = false;
}

void ProgressLine::Draw() {
  std::fprintf(stderr, "%stxtppt2: %zu/%zu files, %zu failed", kEraseLine,
               last_.done, last_.total, last_.failed);
  drawn_ = true;
}

void ProgressLine::Erase() {
  if (!drawn_) return;
  std::fputs(kEraseLine, stderr);
  drawn_ = false;
}

}  // namespace txtppt2::cli
