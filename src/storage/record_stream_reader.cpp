#include "storage/record_stream_reader.h"

namespace txtppt2 {

RecordStreamReader& ReadU16(RecordStreamReader& reader, uint16_t& value) {
  unsigned char bytes[2];
  reader.Read(bytes, sizeof bytes);
  value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
  return reader;
}

RecordStreamReader& ReadU32(RecordStreamReader& reader, uint32_t& value) {
  unsigned char bytes[4];
  reader.Read(bytes, sizeof bytes);
  value = static_cast<uint32_t>(bytes[0]) |
          (static_cast<uint32_t>(bytes[1]) << 8) |
          (static_cast<uint32_t>(bytes[2]) << 16) |
          (static_cast<uint32_t>(bytes[3]) << 24);
  return reader;
}

}  // namespace txtppt2
