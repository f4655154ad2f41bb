// The txtppt2 command line, parsed into what to do with which inputs.
// Parsing does no I/O: a usage error comes back as text for main to print.
#ifndef TXTPPT2_CLI_OPTIONS_H_
#define TXTPPT2_CLI_OPTIONS_H_

#include <string>
#include <vector>

namespace txtppt2::cli {

enum class Encoding {
  kUtf8,     // the Unicode call's text, re-encoded as UTF-8
  kUtf16Le,  // the Unicode call's bytes as they are
  kCp1252,   // the pure-text call's bytes as they are
};

// What is written for each input (--format).
enum class OutputFormat { kText, kJson, kMarkdown, kXhtml };

enum class Action { kConvert, kProbe, kHelp, kVersion };

// The name that stands for standard input among the inputs.
inline constexpr const char* kStandardInputName = "-";

struct Options {
  Action action = Action::kConvert;
  Encoding encoding = Encoding::kUtf8;
  OutputFormat format = OutputFormat::kText;
  bool lfLineEnds = false;          // --lf: CR LF becomes LF
  bool completeText = false;        // --complete: the core's complete text
  std::string outputFile;           // -o; empty: standard output
  std::string outputDir;            // --output-dir; non-empty: batch mode
  unsigned jobs = 0;                // --jobs; 0: one per core
  std::vector<std::string> inputs;  // in the order given; "-" is stdin
  std::string passwordFile;         // --password-file; empty: none
};

struct ParsedCommandLine {
  Options options;
  std::string error;  // empty when the command line is valid
};

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

// One line: the synopsis printed with a usage error.
const char* UsageText();
// The whole --help text.
const char* HelpText();

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_OPTIONS_H_
