#include "api/file_text.h"

#include "identify/input_bytes.h"
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

namespace {

// The exports' path rules refuse a path of more than 1023 UTF-16 units
// ("Error in parameters"), which the system may well open.
constexpr uint32_t kErrorInParameters = 1;

// The converter's run over what the inspection chose: its image, or the
// file at the source's path, read in place (from memory when the path is
// one the exports' rules refuse).
SourceConversion ConvertInspected(const Source& source,
                                  const FileInspection& inspection,
                                  OutputMode mode, TextScope scope) {
  auto fromMemory = [&](std::span<const uint8_t> image) {
    if (image.size() > UINT32_MAX) return SourceConversion{};
    return ConvertSource(
        MemorySource{image.data(), static_cast<uint32_t>(image.size())}, mode,
        scope);
  };
  if (!inspection.image.empty()) return fromMemory(inspection.image);
  SourceConversion conversion = ConvertSource(source, mode, scope);
  if (conversion.block == nullptr && conversion.code == kErrorInParameters &&
      std::holds_alternative<PathSource>(source)) {
    int error = 0;
    std::vector<uint8_t> bytes;
    auto input = InputBytes::Open(std::get<PathSource>(source).path, &error);
    if (input && input->CopyAll(&bytes)) return fromMemory(bytes);
  }
  return conversion;
}

}  // namespace

FileText ExtractFileText(const Source& source, OutputMode mode, TextScope scope,
                         const std::optional<std::string>& password) {
  FileInspection inspection = InspectFile(source, password);
  FileText result;
  result.verdict = std::move(inspection.verdict);
  const FileStatus status = result.verdict.status;
  if (status != FileStatus::kOk && status != FileStatus::kDamaged)
    return result;
  if (result.verdict.format == "ppt95") {
    result.text = EncodeText(inspection.powerPoint95Text, mode);
    return result;
  }
  if (result.verdict.format != "ppt") return result;

  SourceConversion conversion =
      ConvertInspected(source, inspection, mode, scope);
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
