// CompoundFileWriter: writes compound files for tests, fuzz seeds, sample
// files and benchmarks, sound or damaged on purpose.
//
// Elements are added under the root or under storages; Build() or WriteTo()
// lays them out (tables first: FAT, DIFAT, MiniFAT, directory, the mini
// stream, then each regular stream's sectors in the order added) and writes
// the file in one pass. Streams under 4096 bytes go to the mini stream,
// others to sectors of their own. A stream's content may be given as bytes
// or as a function that produces it piece by piece, so a file with a 1 GB
// stream is written without holding the stream; the writer itself keeps
// only the FAT (4 bytes per sector) besides the elements.
//
// Damage is applied while writing, each kind named for what it breaks.
#ifndef TXTPPT2_TESTS_SUPPORT_COMPOUND_FILE_WRITER_H_
#define TXTPPT2_TESTS_SUPPORT_COMPOUND_FILE_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace txtppt2::testing {

// Version 3 has 512-byte sectors, version 4 4096-byte sectors.
enum class CompoundFileVersion { k3 = 3, k4 = 4 };

// How the children of a storage are linked.
enum class SiblingTree {
  kBalanced,    // sorted by length, then upper-cased name: a search tree
  kRightChain,  // the order added, each the right sibling of the one before
};

// Fills out with the n bytes of a stream that start at offset.
using StreamContent = std::function<void(uint64_t offset, char* out, size_t n)>;

// Receives the file's bytes in order.
using ByteSink = std::function<void(const char* bytes, size_t n)>;

// Header offsets, for tests that damage a header field.
constexpr size_t kHeaderMajorVersionOffset = 0x1A;
constexpr size_t kHeaderByteOrderOffset = 0x1C;
constexpr size_t kHeaderSectorShiftOffset = 0x1E;
constexpr size_t kHeaderMiniSectorShiftOffset = 0x20;
constexpr size_t kHeaderFatSectorCountOffset = 0x2C;
constexpr size_t kHeaderFirstDirectorySectorOffset = 0x30;
constexpr size_t kHeaderMiniStreamCutoffOffset = 0x38;
constexpr size_t kHeaderFirstDifatSectorOffset = 0x44;
constexpr size_t kHeaderDifatOffset = 0x4C;

// Where the writer put things, in sectors.
struct CompoundFileLayout {
  uint32_t sectorSize = 0;
  uint32_t fatSectors = 0;
  uint32_t difatSectors = 0;
  uint32_t miniFatSectors = 0;
  uint32_t directorySectors = 0;
  uint32_t miniStreamSectors = 0;
  uint32_t totalSectors = 0;  // sectors after the header
  uint64_t fileSize = 0;      // after any truncation
};

class CompoundFileWriter {
 public:
  using EntryId = size_t;
  static constexpr EntryId kRoot = 0;

  explicit CompoundFileWriter(
      CompoundFileVersion version = CompoundFileVersion::k3);

  // Elements. Names are written as given, in any case (at most 31 units).
  EntryId AddStream(std::u16string_view name, std::string data,
                    EntryId parent = kRoot);
  EntryId AddStream(std::u16string_view name, uint64_t size,
                    StreamContent content, EntryId parent = kRoot);
  EntryId AddStorage(std::u16string_view name, EntryId parent = kRoot);
  void SetSiblingTree(SiblingTree shape) { siblingTree = shape; }

  // Damage.
  // Writes size as the stream's size; its data stays as added.
  void DeclareStreamSize(EntryId stream, uint64_t size);
  // The last sector (or mini sector) of the stream's chain leads back to
  // its first.
  void LoopChainToStart(EntryId stream);
  // The stream's first sector (or mini sector) leads to one past the end of
  // the file (or of the mini stream).
  void PointChainPastEnd(EntryId stream);
  // The last child in the storage's sibling tree gets the top of the tree as
  // its right sibling.
  void LinkSiblingsInCycle(EntryId storage);
  // Overwrites header bytes at offset once the header is written.
  void PatchHeader(size_t offset, std::string_view bytes);
  void PatchHeaderU16(size_t offset, uint16_t value);
  void PatchHeaderU32(size_t offset, uint32_t value);
  // Writes only the first size bytes of the file.
  void TruncateTo(uint64_t size) { truncation = size; }

  // Output.
  CompoundFileLayout Layout() const;
  void WriteTo(const ByteSink& sink) const;
  std::string Build() const;

 private:
  struct Element {
    Element(std::u16string name_, int type_, EntryId parent_)
        : name(std::move(name_)), type(type_), parent(parent_) {}
    std::u16string name;
    int type;  // 1 storage, 2 stream, 5 root
    EntryId parent;
    uint64_t size = 0;
    StreamContent content;
    std::optional<uint64_t> declaredSize;
    std::vector<EntryId> children;
    bool loopChain = false;
    bool chainPastEnd = false;
    bool siblingCycle = false;
  };
  struct Plan;

  Plan MakePlan() const;
  bool IsMini(const Element& element) const;
  void LinkSiblings(const Element& parent, Plan* plan) const;
  std::string DirectoryEntryBytes(EntryId id, const Plan& plan) const;
  std::string HeaderBytes(const Plan& plan) const;

  CompoundFileVersion version;
  uint32_t sectorShift;
  SiblingTree siblingTree = SiblingTree::kBalanced;
  std::vector<Element> elements;
  std::vector<std::pair<size_t, std::string>> headerPatches;
  std::optional<uint64_t> truncation;
};

// Deterministic, non-repeating-looking bytes: byte i of the content for
// seed, the same however the content is cut into pieces.
StreamContent PatternContent(uint32_t seed);
std::string PatternBytes(size_t size, uint32_t seed);

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_COMPOUND_FILE_WRITER_H_
