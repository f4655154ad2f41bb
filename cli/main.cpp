// txtppt2: prints the text of PowerPoint 97-2003 presentations. Each file
// is classified and read by the library's API layer (file_conversion.h);
// --probe asks the public exports, the way any host does.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "batch_runner.h"
#include "file_conversion.h"
#include "library_conversion.h"
#include "options.h"
#include "output_encoding.h"
#include "output_files.h"
#include "password_source.h"
#include "progress_line.h"
#include "structured_output.h"
#include "txtppt2.h"

namespace txtppt2::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// "txtppt2: FILE: MESSAGE".
std::string ErrorLine(const std::string& file, const std::string& message) {
  return "txtppt2: " + file + ": " + message + "\n";
}

void PrintError(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
}

// Standard input, read once up front when "-" is among the inputs.
struct StandardInput {
  bool wanted = false;
  bool readOk = true;
  std::string data;
  std::string error;
};

StandardInput LoadStandardInput(const Options& options) {
  StandardInput input;
  for (const std::string& name : options.inputs)
    if (name == kStandardInputName) input.wanted = true;
  if (input.wanted) input.readOk = ReadStandardInput(input.data, input.error);
  return input;
}

int RunProbe(const Options& options) {
  StandardInput standardInput = LoadStandardInput(options);
  bool allSupported = true;
  for (const std::string& input : options.inputs) {
    bool supported =
        input == kStandardInputName
            ? standardInput.readOk && IsDataSupported(standardInput.data)
            : IsPathSupported(input);
    allSupported = allSupported && supported;
    std::printf("%s: %s\n", input.c_str(),
                supported ? "supported" : "not supported");
  }
  return allSupported ? kExitOk : kExitFailure;
}

unsigned JobCount(const Options& options) {
  if (options.jobs != 0) return options.jobs;
  unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : cores;
}

// In batch mode, the index of an earlier input that writes the same output
// file as input i, or i itself.
std::vector<size_t> FirstWriterOfEachOutput(const Options& options) {
  std::vector<size_t> firstWriter(options.inputs.size());
  std::unordered_map<std::string, size_t> seen;
  for (size_t i = 0; i < options.inputs.size(); ++i) {
    auto [entry, inserted] =
        seen.emplace(BatchOutputPath(options.outputDir, options.inputs[i],
                                     OutputExtension(options.format)),
                     i);
    firstWriter[i] = entry->second;
  }
  return firstWriter;
}

// One input's result for the batch runner: `ok` only when the file is ok;
// `message` the line's text for standard error; `text` what to write,
// which a damaged deck has too.
Conversion Deliverable(FileConversion converted, const Options& options) {
  Conversion result;
  result.ok = converted.Ok();
  if (!result.ok) result.message = ProblemText(converted);
  if (result.ok || !converted.text.empty())
    result.text = EncodeOutput(std::move(converted.text), options.encoding,
                               options.lfLineEnds);
  return result;
}

int RunConversion(const Options& options,
                  const std::optional<std::string>& password) {
  const bool batchMode = !options.outputDir.empty();
  std::string error;
  std::FILE* stream = stdout;
  std::string streamName = "standard output";
  if (batchMode) {
    if (!MakeOutputDir(options.outputDir, error)) {
      PrintError(ErrorLine(options.outputDir, error));
      return kExitFailure;
    }
  } else if (!options.outputFile.empty()) {
    streamName = options.outputFile;
    stream = std::fopen(options.outputFile.c_str(), "wb");
    if (stream == nullptr) {
      PrintError(ErrorLine(options.outputFile, std::strerror(errno)));
      return kExitFailure;
    }
  }

  const StandardInput standardInput = LoadStandardInput(options);
  const std::vector<size_t> firstWriter =
      batchMode ? FirstWriterOfEachOutput(options) : std::vector<size_t>();
  const bool unicode = UsesUnicodeCall(options.encoding);
  ProgressLine progressLine(batchMode &&
                            ProgressLine::StandardErrorIsTerminal());
  bool streamFailed = false;

  auto write = [&](size_t index, Conversion& result) {
    const std::string& input = options.inputs[index];
    std::string writeError;
    if (batchMode) {
      std::string path = BatchOutputPath(options.outputDir, input,
                                         OutputExtension(options.format));
      if (firstWriter[index] != index) {
        progressLine.PrintMessage(
            ErrorLine(input, "output " + path + " is already written for " +
                                 options.inputs[firstWriter[index]]));
        return false;
      }
      if (WriteWholeFile(path, result.text, writeError)) return true;
      progressLine.PrintMessage(ErrorLine(path, writeError));
      return false;
    }
    if (streamFailed) return false;
    if (WriteAll(stream, result.text, writeError)) return true;
    // Reported once: every later write to the stream fails the same way.
    streamFailed = true;
    progressLine.PrintMessage(ErrorLine(streamName, writeError));
    return false;
  };

  auto convert = [&](size_t index) {
    const std::string& input = options.inputs[index];
    if (options.format != OutputFormat::kText)
      return ConvertStructured(
          input, standardInput.readOk ? &standardInput.data : nullptr,
          standardInput.error, options.format, password);
    FileConversion converted;
    if (input != kStandardInputName) {
      converted =
          ConvertInputPath(input, unicode, options.completeText, password);
    } else if (standardInput.readOk) {
      converted = ConvertInputData(standardInput.data, unicode,
                                   options.completeText, password);
    } else {
      converted.verdict.status = FileStatus::kUnreadable;
      converted.verdict.error =
          "cannot read standard input: " + standardInput.error;
    }
    return Deliverable(std::move(converted), options);
  };

  auto deliver = [&](size_t index, Conversion& result) {
    const std::string& input = options.inputs[index];
    if (!result.message.empty())
      progressLine.PrintMessage(ErrorLine(input, result.message));
    // A damaged deck keeps what was read of it, a failed file its record.
    if (!result.ok && result.text.empty()) return false;
    return write(index, result) && result.ok;
  };
  // Each output file stands alone: no text need wait for an earlier one.
  BatchRunner runner(
      options.inputs.size(), JobCount(options),
      batchMode ? Delivery::kAsFinished : Delivery::kInInputOrder);
  size_t failures = runner.Run(convert, deliver, [&](const BatchProgress& p) {
    progressLine.Update(p);
  });
  progressLine.Finish();

  bool closed =
      stream == stdout ? std::fflush(stdout) == 0 : std::fclose(stream) == 0;
  if (!closed && !streamFailed) {
    PrintError(ErrorLine(streamName, std::strerror(errno)));
    ++failures;
  }
  return failures == 0 ? kExitOk : kExitFailure;
}

}  // namespace
}  // namespace txtppt2::cli

int main(int argc, char** argv) {
  using namespace txtppt2::cli;
  ParsedCommandLine parsed = ParseCommandLine(argc, argv);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "txtppt2: %s\n%sTry 'txtppt2 --help'.\n",
                 parsed.error.c_str(), UsageText());
    return kExitUsage;
  }
  const Options& options = parsed.options;
  switch (options.action) {
    case Action::kHelp:
      std::fputs(HelpText(), stdout);
      return kExitOk;
    case Action::kVersion:
      std::printf("txtppt2 %s\n%s\n", TXTPPT2_VERSION, GetDllInfo());
      return kExitOk;
    case Action::kProbe:
      return RunProbe(options);
    case Action::kConvert:
      break;
  }
  std::optional<std::string> password;
  std::string passwordError;
  if (!LoadPassword(options.passwordFile, &password, &passwordError)) {
    std::fprintf(stderr, "txtppt2: %s\n", passwordError.c_str());
    return kExitUsage;
  }
  return RunConversion(options, password);
}
