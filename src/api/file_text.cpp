#include "api/file_text.h"

#include "identify/salvaged_text.h"
#include "platform/windows_1252.h"

namespace txtppt2 {

std::string EncodeText(std::u16string_view text, OutputMode mode) {
  if (text.empty()) return {};
  if (mode == kUnicode) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
      bytes.push_back(static_cast<char>(unit & 0xFF));
      bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
  }
  const auto* units = reinterpret_cast<const WCHAR*>(text.data());
  const int count = static_cast<int>(text.size());
  std::string bytes(text.size(), '\0');
  const int written = Utf16ToWindows1252(units, count, WC_COMPOSITECHECK,
                                         bytes.data(), count, ' ', nullptr);
  bytes.resize(written);
  return bytes;
}

FileText ExtractFileText(const Source& source, OutputMode mode,
                         TextScope scope,
                         const std::optional<std::string>& password) {
  FileInspection inspection = InspectFile(source, password);
  FileText result;
  result.verdict = std::move(inspection.verdict);
  const FileStatus status = result.verdict.status;
  if (status != FileStatus::kOk && status != FileStatus::kDamaged) return result;
  if (result.verdict.format == "ppt95") {
    result.text = EncodeText(inspection.powerPoint95Text, mode);
    return result;
  }
  if (result.verdict.format != "ppt") return result;

  SourceConversion conversion;
  if (inspection.image.size() <= UINT32_MAX)
    conversion = ConvertSource(
        MemorySource{inspection.image.data(),
                     static_cast<uint32_t>(inspection.image.size())},
        mode, scope);
  if (conversion.block != nullptr) {
    result.text.assign(static_cast<const char*>(conversion.block.get()),
                       conversion.count);
    // A damaged deck whose walk found nothing may still hold text atoms.
    if (status == FileStatus::kOk || !result.text.empty()) return result;
  }
  result.code = conversion.code;
  result.message = conversion.message;
  if (status == FileStatus::kOk) {
    // Sound to look at, yet the converter cannot read it.
    result.verdict.status = FileStatus::kDamaged;
    result.verdict.error = "damaged presentation: " + conversion.message;
    return result;
  }
  result.text = EncodeText(SalvagedText(inspection.survivingDocument), mode);
  return result;
}

}  // namespace txtppt2
