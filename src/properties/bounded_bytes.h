// BoundedBytes: a view of a property set's bytes in which every read is
// checked against the view's end, for the reader and for the extent
// finder alike.
#ifndef TXTPPT2_PROPERTIES_BOUNDED_BYTES_H_
#define TXTPPT2_PROPERTIES_BOUNDED_BYTES_H_

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "storage/record_stream_reader.h"  // DecodeU16, DecodeU32

namespace txtppt2 {

class BoundedBytes {
 public:
  explicit BoundedBytes(std::string_view bytes_) : bytes(bytes_) {}

  bool Has(uint64_t at, uint64_t count) const {
    return at <= bytes.size() && count <= bytes.size() - at;
  }
  // The little-endian number at at; nothing where it is not all there.
  std::optional<uint16_t> U16(uint64_t at) const {
    if (!Has(at, 2)) return std::nullopt;
    return DecodeU16(Data(at));
  }
  std::optional<uint32_t> U32(uint64_t at) const {
    if (!Has(at, 4)) return std::nullopt;
    return DecodeU32(Data(at));
  }
  std::optional<uint64_t> U64(uint64_t at) const {
    auto low = U32(at), high = U32(at + 4);
    if (!low || !high) return std::nullopt;
    return uint64_t{*low} | (uint64_t{*high} << 32);
  }
  // count bytes from at, or fewer where the view ends first.
  std::string_view Slice(uint64_t at, uint64_t count) const {
    if (at >= bytes.size()) return {};
    return bytes.substr(static_cast<size_t>(at),
                        static_cast<size_t>(std::min<uint64_t>(
                            count, bytes.size() - at)));
  }
  size_t Size() const { return bytes.size(); }

 private:
  // REQUIRES: Has(at, 1)
  const unsigned char* Data(uint64_t at) const {
    return reinterpret_cast<const unsigned char*>(bytes.data()) + at;
  }
  std::string_view bytes;
};

}  // namespace txtppt2

#endif  // TXTPPT2_PROPERTIES_BOUNDED_BYTES_H_
