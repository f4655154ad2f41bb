#include "driver/conversion_driver.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "common/general_messages.h"
#include "driver/driver_messages.h"
#include "extract/complete_text_extractor.h"
#include "extract/complete_walk.h"
#include "extract/presentation_text_extractor.h"

namespace txtppt2 {

namespace {

// Without a known file size, the guess at the text's size is capped here.
constexpr uint64_t kUnknownSourceSize = uint64_t{64} << 20;

// The guess at how many characters the text of a stream that declares
// streamSize bytes holds, for the block reserved ahead: a quarter of a
// character per byte (ordinary presentations hold a fifth to three
// quarters), of no more than the file itself could hold, so that a damaged
// size cannot make the block huge. The text grows past it freely.
size_t TextSizeGuess(uint32_t streamSize, uint64_t sourceSize) {
  uint64_t limit = sourceSize != 0 ? sourceSize : kUnknownSourceSize;
  return static_cast<size_t>(std::min<uint64_t>(streamSize, limit) / 4);
}

// Runs the walk into a stream of the output's width, whose block becomes
// the result block. Throws on every failure.
template <typename Out, typename Extractor>
HGLOBAL ProduceBlock(Extractor& extractor, size_t guess,
                     const BlockAllocator& allocator, uint32_t* count) {
  Out out(allocator);
  out.Reserve(guess);
  extractor.Extract(out);

  // A stream that lost its block still knows the length, so the count is
  // right even when the block cannot be had.
  size_t n = out.Length();
  constexpr size_t kWidth = sizeof(*out.Data());
  // The count is 32 bits wide; a text that cannot be counted cannot be
  // handed out either.
  if (n > (UINT32_MAX - kWidth) / kWidth)
    throw std::runtime_error(messages::kOutOfMemory);
  *count = static_cast<uint32_t>(n * kWidth);

  HGLOBAL block = out.TakeBlock();
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
  } catch (...) {
    RecordCaughtException(errors);
  }
  return nullptr;
}

// The streams of the complete walk: "Current User" is optional (without
// it the whole stream is walked), and the stream is read whole, up to what
// the file can hold. A file saved for both PowerPoint 95 and 97 keeps the
// 97 document in the storage "PP97_DUALSTORAGE" and the older format at the
// root; the 97 document is read where it is there.
struct CompleteWalkStreams {
  std::unique_ptr<CompoundStorage> dual;
  std::unique_ptr<RecordStreamReader> dualDocument, currentUser;
  RecordStreamReader* document = nullptr;
  uint32_t sizeLimit = 0;
};

CompleteWalkStreams OpenCompleteWalkStreams(CompoundStorage& root,
                                            RecordStreamReader& rootDocument) {
  CompleteWalkStreams streams;
  streams.dual = root.OpenStorage(TXTPPT2_WTEXT("PP97_DUALSTORAGE"));
  if (streams.dual)
    streams.dualDocument = streams.dual->OpenOptionalStream(
        TXTPPT2_WTEXT("PowerPoint Document"));
  CompoundStorage& storage = streams.dualDocument ? *streams.dual : root;
  streams.document =
      streams.dualDocument ? streams.dualDocument.get() : &rootDocument;
  streams.currentUser =
      storage.OpenOptionalStream(TXTPPT2_WTEXT("Current User"));
  // The walk holds no more than the file could: its size, where it is known
  // (not 0), and never past what the stream offsets can address.
  const uint64_t sourceSize = storage.SourceSize();
  streams.sizeLimit = sourceSize == 0 || sourceSize > UINT32_MAX
                          ? UINT32_MAX
                          : static_cast<uint32_t>(sourceSize);
  return streams;
}

HGLOBAL ProduceCompleteBlock(CompoundStorage& root,
                             RecordStreamReader& rootDocument, OutputMode mode,
                             size_t guess, const BlockAllocator& allocator,
                             uint32_t* count) {
  CompleteWalkStreams streams = OpenCompleteWalkStreams(root, rootDocument);
  CompleteTextExtractor extractor(*streams.document,
                                  streams.currentUser.get(), streams.sizeLimit);
  if (mode != kPureText)
    return ProduceBlock<WideOutputStream>(extractor, guess, allocator, count);
  return ProduceBlock<NarrowOutputStream>(extractor, guess, allocator, count);
}

// Opens "PowerPoint Document" at the storage's root; null, with the
// exports' message and code recorded, where it cannot be opened.
std::unique_ptr<RecordStreamReader> OpenDocument(CompoundStorage& storage,
                                                 ErrorRecorder& errors) {
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
  return std::unique_ptr<RecordStreamReader>(opened);
}

}  // namespace

HGLOBAL ConvertStorage(CompoundStorage& storage, OutputMode mode,
                       uint32_t* count, ErrorRecorder& errors, TextScope scope,
                       const BlockAllocator& allocator) {
  errors.ClearConversionError();
  *count = 0;
  // Deleted on every way out, which releases the stream before the caller
  // releases the storage.
  std::unique_ptr<RecordStreamReader> reader = OpenDocument(storage, errors);
  if (!reader) return nullptr;

  try {
    size_t guess = TextSizeGuess(reader->Size(), storage.SourceSize());
    if (scope == kCompleteText)
      return ProduceCompleteBlock(storage, *reader, mode, guess, allocator,
                                  count);
    PresentationTextExtractor extractor(*reader);
    if (mode != kPureText)
      return ProduceBlock<WideOutputStream>(extractor, guess, allocator, count);
    return ProduceBlock<NarrowOutputStream>(extractor, guess, allocator, count);
  } catch (...) {
    RecordCaughtException(errors);
  }
  return nullptr;
}

bool WalkStorage(CompoundStorage& storage, CompleteWalkVisitor& visitor,
                 ErrorRecorder& errors) {
  errors.ClearConversionError();
  std::unique_ptr<RecordStreamReader> reader = OpenDocument(storage, errors);
  if (!reader) return false;
  try {
    CompleteWalkStreams streams = OpenCompleteWalkStreams(storage, *reader);
    RunCompleteWalk(*streams.document, streams.currentUser.get(),
                    streams.sizeLimit, BrokenChain::kMend, visitor);
    return true;
  } catch (...) {
    RecordCaughtException(errors);
  }
  return false;
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
