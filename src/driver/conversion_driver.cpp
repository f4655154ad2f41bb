#include "driver/conversion_driver.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <stdexcept>

#include "common/general_messages.h"
#include "driver/driver_messages.h"
#include "extract/complete_text_extractor.h"
#include "extract/presentation_text_extractor.h"

namespace txtppt2 {

namespace {

// Without a known file size, the block reserved ahead of time is capped
// here; the text may still grow past it.
constexpr uint64_t kUnknownSourceReserve = uint64_t{16} << 20;

// How many characters to reserve for the text of a stream that declares
// streamSize bytes: the declared size, as no text outgrows its stream by
// much, but never more than the file itself could hold, so that a damaged
// size cannot make the block huge. Reserved pages that the text never
// reaches are not touched, and the block is trimmed to the text at the end.
size_t ReserveFor(uint32_t streamSize, uint64_t sourceSize) {
  uint64_t limit = sourceSize != 0 ? sourceSize : kUnknownSourceReserve;
  return static_cast<size_t>(std::min<uint64_t>(streamSize, limit));
}

// Runs the walk into a stream of the output's width, whose block becomes
// the result block. Throws on every failure.
template <typename Out, typename Extractor>
HGLOBAL ProduceBlock(Extractor& extractor, size_t reserve, uint32_t* count) {
  Out out;
  out.Reserve(reserve);
  extractor.Extract(out);

  // Trailing NULs are not text. A stream that lost its block still knows
  // the length, so the count is right even when the block cannot be had.
  size_t n = out.TextLength();
  constexpr size_t kWidth = sizeof(*out.Data());
  // The count is 32 bits wide; a text that cannot be counted cannot be
  // handed out either.
  if (n > (UINT32_MAX - kWidth) / kWidth)
    throw std::runtime_error(messages::kOutOfMemory);
  *count = static_cast<uint32_t>(n * kWidth);

  HGLOBAL block = out.TakeBlock(n);
  if (block == nullptr) throw std::runtime_error(messages::kOutOfMemory);
  return block;
}

// Makes the storage, converts it and ends it; the shared frame of
// ConvertFile and ConvertMemory. Only failures to make the storage reach
// the handler here: ConvertStorage catches everything itself.
template <typename MakeStorage>
HGLOBAL ConvertOwnedStorage(MakeStorage makeStorage, OutputMode mode,
                            uint32_t* count, ErrorRecorder& errors,
                            TextScope scope) {
  try {
    std::unique_ptr<CompoundStorage> storage = makeStorage();
    return ConvertStorage(*storage, mode, count, errors, scope);
  } catch (const std::exception& error) {
    errors.SetConversionError(error.what(), txtppt2_conversion_failed);
  } catch (...) {
    errors.SetConversionError(messages::kExceptionCaught,
                              txtppt2_conversion_failed);
  }
  return nullptr;
}

// Opens the named stream of storage, or gives null where it cannot.
std::unique_ptr<RecordStreamReader> OpenOptionalStream(CompoundStorage& storage,
                                                       const WCHAR* name) {
  StorageStream* opened = nullptr;
  try {
    storage.OpenStream(name, &opened);
  } catch (const std::runtime_error&) {
    opened = nullptr;
  }
  return std::unique_ptr<RecordStreamReader>(opened);
}

// The complete text: "Current User" is optional (without it the whole
// stream is walked), and the stream is read whole, up to what the file can
// hold. A file saved for both PowerPoint 95 and 97 keeps the 97 document in
// the storage "PP97_DUALSTORAGE" and the older format at the root; the 97
// document is read where it is there.
HGLOBAL ProduceCompleteBlock(CompoundStorage& root,
                             RecordStreamReader& rootDocument, OutputMode mode,
                             size_t reserve, uint32_t* count) {
  std::unique_ptr<CompoundStorage> dual =
      root.OpenStorage(TXTPPT2_WTEXT("PP97_DUALSTORAGE"));
  std::unique_ptr<RecordStreamReader> dualDocument;
  if (dual)
    dualDocument =
        OpenOptionalStream(*dual, TXTPPT2_WTEXT("PowerPoint Document"));
  CompoundStorage& storage = dualDocument ? *dual : root;
  RecordStreamReader& document = dualDocument ? *dualDocument : rootDocument;
  std::unique_ptr<RecordStreamReader> currentUser =
      OpenOptionalStream(storage, TXTPPT2_WTEXT("Current User"));
  // The walk holds no more than the file could: its size, where it is known
  // (not 0), and never past what the stream offsets can address.
  const uint64_t sourceSize = storage.SourceSize();
  const uint32_t limit = sourceSize == 0 || sourceSize > UINT32_MAX
                             ? UINT32_MAX
                             : static_cast<uint32_t>(sourceSize);
  CompleteTextExtractor extractor(document, currentUser.get(), limit);
  if (mode != kPureText)
    return ProduceBlock<WideOutputStream>(extractor, reserve, count);
  return ProduceBlock<NarrowOutputStream>(extractor, reserve, count);
}

}  // namespace

HGLOBAL ConvertStorage(CompoundStorage& storage, OutputMode mode,
                       uint32_t* count, ErrorRecorder& errors,
                       TextScope scope) {
  errors.ClearConversionError();
  *count = 0;

  StorageStream* opened = nullptr;
  try {
    storage.OpenStream(TXTPPT2_WTEXT("PowerPoint Document"), &opened);
  } catch (...) {
    // Every failure to open the document stream, out of memory included,
    // reports "Unsupported data format": any failure at all here means the
    // file is no presentation this library reads. That is the contract of
    // the exports, not an oversight; the command and the Python module may
    // tell the causes apart from their own checks.
    errors.SetConversionError(messages::kUnsupportedDataFormat,
                              txtppt2_unsupported_format);
    return nullptr;
  }
  // Deleted on every way out, which releases the stream before the caller
  // releases the storage.
  std::unique_ptr<RecordStreamReader> reader(opened);

  try {
    size_t reserve = ReserveFor(reader->Size(), storage.SourceSize());
    if (scope == kCompleteText)
      return ProduceCompleteBlock(storage, *reader, mode, reserve, count);
    PresentationTextExtractor extractor(*reader);
    if (mode != kPureText)
      return ProduceBlock<WideOutputStream>(extractor, reserve, count);
    return ProduceBlock<NarrowOutputStream>(extractor, reserve, count);
  } catch (const std::exception& error) {
    errors.SetConversionError(error.what(), txtppt2_conversion_failed);
  } catch (...) {
    errors.SetConversionError(messages::kExceptionCaught,
                              txtppt2_conversion_failed);
  }
  return nullptr;
}

HGLOBAL ConvertFile(const WCHAR* path, OutputMode mode, uint32_t* count,
                    ErrorRecorder& errors, TextScope scope) {
  return ConvertOwnedStorage(
      [path] { return std::make_unique<CompoundStorage>(path); }, mode, count,
      errors, scope);
}

HGLOBAL ConvertMemory(const BYTE* data, OutputMode mode, uint32_t* count,
                      ErrorRecorder& errors, TextScope scope) {
  ULONG length = *count;
  return ConvertOwnedStorage(
      [data, length] {
        return std::make_unique<CompoundStorage>(data, length);
      },
      mode, count, errors, scope);
}

}  // namespace txtppt2
