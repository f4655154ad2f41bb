#include "support/corpus.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace txtppt2::testing {

namespace fs = std::filesystem;

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<CorpusFile> LoadCorpus() {
  std::vector<CorpusFile> files;
  const fs::path dir = fs::path(TXTPPT2_SHARED_DIR) / "corpus" / "ppt";
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    files.push_back({entry.path().filename().string(), entry.path()});
  }
  std::sort(
      files.begin(), files.end(),
      [](const CorpusFile& a, const CorpusFile& b) { return a.name < b.name; });
  return files;
}

}  // namespace txtppt2::testing
