// The deck as data: opens the source as the exports do, hands the complete
// text's walk to the slide model's builder (the same walk, the same texts
// in the same order; no complete text is made), then reads the document's
// property sets from the same storage.
#include "api/presentation_extraction.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

#include "driver/conversion_driver.h"
#include "driver/narrow_path.h"
#include "extract/stream_image.h"
#include "interface/conversion_error_state.h"
#include "model/presentation_builder.h"
#include "properties/document_properties_reader.h"
#include "properties/property_set_extent.h"

namespace txtppt2 {

namespace {

// A property set holds a few hundred bytes of text; a thumbnail may make it
// larger. Bytes past this are not read (the properties come first).
constexpr uint32_t kPropertySetLimit = 16u << 20;
// The first read of a property set stream: its headers, tables and
// properties but for a large value (the thumbnail), which need not be read.
constexpr uint32_t kPropertyWindow = 4096;

// The storage of the source, or null with the failure recorded in errors,
// with the exports' messages and codes.
std::unique_ptr<CompoundStorage> OpenSource(const Source& source,
                                            ErrorRecorder& errors) {
  try {
    if (const auto* memory = std::get_if<MemorySource>(&source))
      return std::make_unique<CompoundStorage>(memory->data, memory->size);
    WCHAR path[kPathCapacity];
    if (!WidenNarrowPath(std::get<PathSource>(source).path, path, &errors))
      return nullptr;
    return std::make_unique<CompoundStorage>(path);
  } catch (...) {
    RecordCaughtException(errors);
  }
  return nullptr;
}

// The named property set stream's bytes, as far as its properties need
// them; none where it is missing or cannot be read (the properties are then
// absent, not an error).
std::optional<StreamImage> ReadPropertyStream(CompoundStorage& storage,
                                              const WCHAR* name) {
  std::unique_ptr<StorageStream> reader = storage.OpenOptionalStream(name);
  if (!reader) return std::nullopt;
  try {
    uint64_t limit = storage.SourceSize() != 0 ? storage.SourceSize()
                                               : uint64_t{kPropertySetLimit};
    uint32_t whole = static_cast<uint32_t>(
        std::min<uint64_t>({limit, kPropertySetLimit, reader->Size()}));
    StreamImage window(*reader, std::min(whole, kPropertyWindow));
    // A window cut short holds all the data there is.
    if (window.Bytes().size() < std::min(whole, kPropertyWindow)) return window;
    uint64_t extent = PropertySetExtent(window.Bytes(), whole);
    if (extent <= window.Bytes().size()) return window;
    return StreamImage(*reader, static_cast<uint32_t>(extent));
  } catch (const std::runtime_error&) {
    return std::nullopt;
  }
}

// A file saved for PowerPoint 95 and 97 at once keeps the 97 document's
// property sets beside it in PP97_DUALSTORAGE, as the complete text reads
// the document there; the root's where it has none.
void ReadProperties(CompoundStorage& root, DocumentProperties& properties) {
  std::unique_ptr<CompoundStorage> dual =
      root.OpenStorage(TXTPPT2_WTEXT("PP97_DUALSTORAGE"));
  auto read = [&](const WCHAR* name) {
    std::optional<StreamImage> stream;
    if (dual) stream = ReadPropertyStream(*dual, name);
    if (!stream || stream->Bytes().empty())
      stream = ReadPropertyStream(root, name);
    return stream;
  };
  if (auto stream = read(TXTPPT2_WTEXT("\005SummaryInformation")))
    ReadSummaryInformation(stream->Bytes(), properties);
  if (auto stream = read(TXTPPT2_WTEXT("\005DocumentSummaryInformation")))
    ReadDocumentSummaryInformation(stream->Bytes(), properties);
}

}  // namespace

PresentationExtraction ExtractPresentation(const Source& source) {
  ConversionErrorState errors;
  PresentationExtraction result;
  std::unique_ptr<CompoundStorage> storage = OpenSource(source, errors);
  if (storage) {
    try {
      PresentationBuilder builder(result.presentation);
      if (WalkStorage(*storage, builder, errors)) {
        builder.Finish();
        ReadProperties(*storage, result.presentation.properties);
        result.ok = true;
        result.mended = builder.ReadMendedChain();
      }
    } catch (...) {
      RecordCaughtException(errors);
    }
  }
  if (!result.ok) {
    result.presentation = Presentation();
    result.code = errors.ReportedCode();
    char message[ConversionErrorState::kMessageCapacity];
    errors.CopyMessage(message, sizeof message);
    result.message = message;
  }
  return result;
}

std::optional<DocumentProperties> ExtractProperties(const Source& source) {
  ConversionErrorState errors;
  std::unique_ptr<CompoundStorage> storage = OpenSource(source, errors);
  if (!storage) return std::nullopt;
  try {
    DocumentProperties properties;
    ReadProperties(*storage, properties);
    return properties;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace txtppt2
