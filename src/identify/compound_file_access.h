// The compound file reader as classification and decryption use it: a
// file opened over the whole of its bytes, tolerantly when it is cut
// short, and its root streams read whole into memory (or as far as the
// file still holds them), and written back over a copy of the file.
#ifndef TXTPPT2_IDENTIFY_COMPOUND_FILE_ACCESS_H_
#define TXTPPT2_IDENTIFY_COMPOUND_FILE_ACCESS_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/compound_file/byte_source.h"
#include "platform/compound_file/compound_file.h"

namespace txtppt2 {

// Bytes held by the caller, which must outlive the source.
class SpanByteSource final : public ByteSource {
 public:
  explicit SpanByteSource(std::span<const uint8_t> bytes_)
      : ByteSource(bytes_.size()), bytes(bytes_) {}
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;

 private:
  std::span<const uint8_t> bytes;
};

struct OpenedCompoundFile {
  std::shared_ptr<CompoundFile> file;
  uint64_t realSize{};  // the bytes the file really has
  // The header names sectors past the end of the file: it was opened as if
  // zero bytes followed, and what lies there is lost.
  bool cutShort = false;
};

// Opens the compound file in the source openSource makes (nothing when it
// makes none, or the bytes do not start with a sound header). When the
// plain open fails, opens a second source as if the file went on with
// zero bytes as far as its FAT can describe (at most eight times its size
// and 1 MiB more), so that a cut-short file still shows what it has.
std::optional<OpenedCompoundFile> OpenCompoundFile(
    const std::function<std::unique_ptr<ByteSource>()>& openSource);

struct RootStream {
  std::vector<uint8_t> bytes;  // as far as the file holds them
  bool whole = false;          // every declared byte is there
  StreamLayout layout;
};

// The root stream named name; nothing when there is none.
std::optional<RootStream> ReadRootStream(OpenedCompoundFile& opened,
                                         std::u16string_view name);

// Writes bytes over the units of layout in image, a copy of the whole file.
void WriteRootStream(const StreamLayout& layout, std::span<const uint8_t> bytes,
                     std::span<uint8_t> image);

}  // namespace txtppt2

#endif  // TXTPPT2_IDENTIFY_COMPOUND_FILE_ACCESS_H_
