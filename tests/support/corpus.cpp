#include "support/corpus.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace txtppt2::testing {

namespace fs = std::filesystem;

bool RunningInCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string(ci) == "true";
}

std::optional<fs::path> CorpusDir() {
  fs::path dir = fs::path(TXTPPT2_SHARED_DIR) / "corpus";
  std::error_code ec;
  if (!fs::is_directory(dir / "ppt", ec)) return std::nullopt;
  return dir;
}

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<CorpusFile> LoadCorpus() {
  std::vector<CorpusFile> files;
  auto dir = CorpusDir();
  if (!dir) return files;
  for (const auto& entry : fs::directory_iterator(*dir / "ppt")) {
    if (!entry.is_regular_file()) continue;
    files.push_back({entry.path().filename().string(), entry.path()});
  }
  std::sort(
      files.begin(), files.end(),
      [](const CorpusFile& a, const CorpusFile& b) { return a.name < b.name; });
  return files;
}

}  // namespace txtppt2::testing
