#include "read_file.h"

#include <fstream>
#include <iterator>

namespace txtppt2::bench {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace txtppt2::bench
