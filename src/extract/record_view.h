// RecordView: record headers read out of a stream image, and the children
// of a container taken by their lengths.
//
// Every record is bounded by its parent: a length that runs past the
// parent's end is cut there, so a damaged length can hide the rest of its
// parent but never anything beyond it. Reading never goes outside the
// image.
#ifndef TXTPPT2_EXTRACT_RECORD_VIEW_H_
#define TXTPPT2_EXTRACT_RECORD_VIEW_H_

#include <cassert>
#include <cstdint>
#include <optional>
#include <string_view>

#include "storage/record_stream_reader.h"

namespace txtppt2 {

constexpr uint32_t kRecordHeaderSize = 8;

struct RecordHeader {
  uint16_t version{};   // recVer, the low 4 bits of the first word
  uint16_t instance{};  // recInstance, its high 12 bits
  uint16_t type{};      // recType, all 16 bits
  uint32_t offset{};    // of the header in the image
  uint32_t bodyEnd{};   // the end of the body, cut at the parent's end

  uint32_t BodyStart() const { return offset + kRecordHeaderSize; }
  uint32_t BodyLength() const { return bodyEnd - BodyStart(); }
  bool IsContainer() const { return version == 0xF; }
  // Where the next sibling starts.
  uint32_t End() const { return bodyEnd; }
};

// The little-endian field at at in the image.
// REQUIRES: the field lies inside the image
inline uint16_t LoadU16(std::string_view image, uint32_t at) {
  assert(at <= image.size() && image.size() - at >= 2);
  return DecodeU16(reinterpret_cast<const unsigned char*>(image.data()) + at);
}

inline uint32_t LoadU32(std::string_view image, uint32_t at) {
  assert(at <= image.size() && image.size() - at >= 4);
  return DecodeU32(reinterpret_cast<const unsigned char*>(image.data()) + at);
}

// The record whose header starts at offset inside a parent ending at
// parentEnd; nothing when the header itself does not fit.
// REQUIRES: parentEnd <= image.size()
inline std::optional<RecordHeader> ReadRecordHeader(std::string_view image,
                                                    uint32_t offset,
                                                    uint32_t parentEnd) {
  assert(parentEnd <= image.size());
  if (parentEnd < kRecordHeaderSize || offset > parentEnd - kRecordHeaderSize)
    return std::nullopt;
  RecordHeader header;
  uint16_t first = LoadU16(image, offset);
  header.version = first & 0xF;
  header.instance = first >> 4;
  header.type = LoadU16(image, offset + 2);
  header.offset = offset;
  uint32_t room = parentEnd - offset - kRecordHeaderSize;
  uint32_t length = LoadU32(image, offset + 4);
  header.bodyEnd = offset + kRecordHeaderSize + (length < room ? length : room);
  return header;
}

// The body of a record as bytes.
// REQUIRES: record was read from image
inline std::string_view BodyOf(std::string_view image,
                               const RecordHeader& record) {
  return image.substr(record.BodyStart(), record.BodyLength());
}

// A 32-bit field at field bytes into a record's body, if the body holds it.
inline std::optional<uint32_t> BodyFieldU32(std::string_view image,
                                            const RecordHeader& record,
                                            uint32_t field) {
  if (record.BodyLength() < field + 4) return std::nullopt;
  return LoadU32(image, record.BodyStart() + field);
}

// Calls visit(child) for each child of a container in order, and stops
// early when visit returns false.
template <typename Visit>
void ForEachChild(std::string_view image, const RecordHeader& parent,
                  Visit visit) {
  uint32_t at = parent.BodyStart();
  while (auto child = ReadRecordHeader(image, at, parent.bodyEnd)) {
    if (!visit(*child)) return;
    at = child->End();
  }
}

// The first child of the given type, if any.
inline std::optional<RecordHeader> FindChild(std::string_view image,
                                             const RecordHeader& parent,
                                             uint16_t type) {
  std::optional<RecordHeader> found;
  ForEachChild(image, parent, [&](const RecordHeader& child) {
    if (child.type == type) found = child;
    return !found;
  });
  return found;
}

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_RECORD_VIEW_H_
