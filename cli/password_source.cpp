#include "password_source.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace txtppt2::cli {
namespace {

// A password is a line; anything longer than this is not one.
constexpr size_t kMaxPasswordBytes = 4096;

}  // namespace

bool LoadPassword(const std::string& passwordFile,
                  std::optional<std::string>* password, std::string* error) {
  password->reset();
  if (passwordFile.empty()) {
    const char* variable = std::getenv(kPasswordVariable);
    if (variable != nullptr && *variable != '\0') *password = variable;
    return true;
  }
  std::FILE* file = std::fopen(passwordFile.c_str(), "rb");
  if (file == nullptr) {
    *error = passwordFile + ": " + std::strerror(errno);
    return false;
  }
  std::string line;
  int c;
  while ((c = std::fgetc(file)) != EOF && c != '\n' &&
         line.size() < kMaxPasswordBytes)
    line.push_back(static_cast<char>(c));
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    *error = passwordFile + ": cannot be read";
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  *password = std::move(line);
  return true;
}

}  // namespace txtppt2::cli
