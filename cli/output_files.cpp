#include "output_files.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "options.h"

namespace txtppt2::cli {
namespace {

constexpr const char* kStandardInputStem = "stdin";
constexpr size_t kReadChunk = 1 << 16;

}  // namespace

std::string BatchOutputPath(const std::string& dir, const std::string& input,
                            std::string_view extension) {
  std::filesystem::path name =
      input == kStandardInputName
          ? std::filesystem::path(kStandardInputStem)
          : std::filesystem::path(input).filename().stem();
  return (std::filesystem::path(dir) / name).string() + std::string(extension);
}

bool MakeOutputDir(const std::string& dir, std::string& error) {
  std::error_code code;
  std::filesystem::create_directories(dir, code);
  if (!code) return true;
  error = code.message();
  return false;
}

bool WriteAll(std::FILE* stream, std::string_view bytes, std::string& error) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size())
    return true;
  error = std::strerror(errno);
  return false;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes,
                    std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  bool written = WriteAll(file, bytes, error);
  if (std::fclose(file) != 0 && written) {
    error = std::strerror(errno);
    written = false;
  }
  return written;
}

bool ReadStandardInput(std::string& data, std::string& error) {
  data.clear();
  for (;;) {
    size_t used = data.size();
    data.resize(used + kReadChunk);
    ssize_t got = read(STDIN_FILENO, data.data() + used, kReadChunk);
    data.resize(used + static_cast<size_t>(got > 0 ? got : 0));
    if (got == 0) return true;
    if (got < 0 && errno != EINTR) {
      error = std::strerror(errno);
      return false;
    }
  }
}

}  // namespace txtppt2::cli
