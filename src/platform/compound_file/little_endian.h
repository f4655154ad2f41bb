// The one place where the compound file reader turns bytes into integers.
// Every field of the header, the allocation tables and the directory is
// decoded here, after a check that the field lies inside the bytes at hand.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_LITTLE_ENDIAN_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_LITTLE_ENDIAN_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

namespace txtppt2 {

// The unsigned little-endian integer of sizeof(T) bytes at offset. A field
// that would run past the end of bytes decodes as 0: callers hand in whole
// headers, sectors and entries, so that only guards against a wrong offset.
template <typename T>
T LoadLittleEndian(std::span<const uint8_t> bytes, size_t offset) {
  static_assert(std::is_unsigned_v<T>, "fields are unsigned");
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return 0;
  T value = 0;
  for (size_t i = 0; i < sizeof(T); ++i)
    value =
        static_cast<T>(value | static_cast<T>(bytes[offset + i]) << (8 * i));
  return value;
}

// Decodes the count 32-bit values at the start of bytes into out; count is
// at most bytes.size() / 4. For whole tables: on a little-endian host it is
// one copy.
inline void LoadLittleEndianU32s(std::span<const uint8_t> bytes, uint32_t* out,
                                 size_t count) {
  if (count > bytes.size() / 4) count = bytes.size() / 4;
  if constexpr (std::endian::native == std::endian::little) {
    if (count != 0) std::memcpy(out, bytes.data(), count * 4);
  } else {
    for (size_t i = 0; i < count; ++i)
      out[i] = LoadLittleEndian<uint32_t>(bytes, i * 4);
  }
}

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_LITTLE_ENDIAN_H_
