// ProgressLine: the batch mode's one-line progress report on standard
// error ("txtppt2: 3/10 files, 1 failed"), redrawn in place. It is shown
// only when standard error is a terminal, so logs and pipes get nothing
// but the error messages. Messages go through it so that they never land
// in the middle of the line.
#ifndef TXTPPT2_CLI_PROGRESS_LINE_H_
#define TXTPPT2_CLI_PROGRESS_LINE_H_

#include <string_view>

#include "batch_runner.h"

namespace txtppt2::cli {

class ProgressLine {
 public:
  // enabled: whether to draw at all; pass false outside batch mode.
  explicit ProgressLine(bool enabled);

  // Whether standard error is a terminal.
  static bool StandardErrorIsTerminal();

  void Update(const BatchProgress& progress);
  // Writes one whole line (with its '\n') to standard error, taking the
  // progress line out of the way and drawing it again below.
  void PrintMessage(std::string_view line);
  // Leaves the last state on its own line.
  void Finish();

 private:
  void Draw();
  void Erase();

  bool enabled;
  bool drawn = false;
  BatchProgress last;
};

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_PROGRESS_LINE_H_
