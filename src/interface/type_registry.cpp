#include "interface/type_registry.h"

namespace txtppt2 {

namespace {

unsigned char FoldAsciiUpper(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 0x20) : c;
}

}  // namespace

bool IsSupportedTypeName(const char* type) {
  const char* name = kTypeName;
  for (;; ++type, ++name) {
    auto a = FoldAsciiUpper(static_cast<unsigned char>(*type));
    auto b = FoldAsciiUpper(static_cast<unsigned char>(*name));
    if (a != b) return false;
    if (a == 0) return true;
  }
}

}  // namespace txtppt2
