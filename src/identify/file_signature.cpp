#include "identify/file_signature.h"

#include <algorithm>
#include <string_view>

namespace txtppt2 {
namespace {

constexpr uint8_t kCompoundFileSignature[] = {0xD0, 0xCF, 0x11, 0xE0,
                                              0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::string_view kZipLocalHeader("PK\x03\x04", 4);
constexpr std::string_view kZipEmptyArchive("PK\x05\x06", 4);
constexpr std::string_view kPdfSignature = "%PDF-";

bool StartsWith(std::span<const uint8_t> bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() &&
         std::equal(
             prefix.begin(), prefix.end(), bytes.begin(),
             [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

bool Holds(std::span<const uint8_t> bytes, std::string_view needle) {
  return std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end(),
                     [](uint8_t a, char b) {
                       return a == static_cast<uint8_t>(b);
                     }) != bytes.end();
}

// The package's kind by the name of its main part, which an Office Open
// XML package lists among its entries' names.
std::string ZipFormat(std::span<const uint8_t> head,
                      std::span<const uint8_t> tail) {
  auto named = [&](std::string_view name) {
    return Holds(head, name) || Holds(tail, name);
  };
  if (!named("[Content_Types].xml")) return "zip";
  if (named("ppt/")) return "pptx";
  if (named("word/")) return "docx";
  if (named("xl/")) return "xlsx";
  return "zip";
}

}  // namespace

bool HasCompoundFileSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof kCompoundFileSignature &&
         std::equal(std::begin(kCompoundFileSignature),
                    std::end(kCompoundFileSignature), bytes.begin());
}

std::string NonCompoundFormat(std::span<const uint8_t> head,
                              std::span<const uint8_t> tail) {
  if (head.empty()) return "empty";
  if (StartsWith(head, kZipLocalHeader) || StartsWith(head, kZipEmptyArchive))
    return ZipFormat(head, tail);
  if (StartsWith(head, kPdfSignature)) return "pdf";
  return "unknown";
}

}  // namespace txtppt2
