// Where converted text goes: an open stream (standard output or the -o
// file) or, in batch mode, one file per input in the output folder.
#ifndef TXTPPT2_CLI_OUTPUT_FILES_H_
#define TXTPPT2_CLI_OUTPUT_FILES_H_

#include <cstdio>
#include <string>
#include <string_view>

namespace txtppt2::cli {

// DIR/NAME.txt (or another extension), NAME being the input's file name
// without its extension ("stdin" for standard input).
std::string BatchOutputPath(const std::string& dir, const std::string& input,
                            std::string_view extension = ".txt");

// Creates the folder and its parents when missing. On failure returns
// false with the reason in `error`.
bool MakeOutputDir(const std::string& dir, std::string& error);

// Writes all bytes; on failure returns false with the reason in `error`.
bool WriteAll(std::FILE* stream, std::string_view bytes, std::string& error);

// Creates or replaces the file with the bytes.
bool WriteWholeFile(const std::string& path, std::string_view bytes,
                    std::string& error);

// The whole of standard input.
bool ReadStandardInput(std::string& data, std::string& error);

}  // namespace txtppt2::cli

#endif  // TXTPPT2_CLI_OUTPUT_FILES_H_
