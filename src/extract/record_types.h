// The record types and header fields that decide which text is extracted.
// Types are compared after masking to their low 12 bits.
#ifndef TXTPPT2_EXTRACT_RECORD_TYPES_H_
#define TXTPPT2_EXTRACT_RECORD_TYPES_H_

#include <cstdint>

namespace txtppt2 {

constexpr uint16_t kRecordVersionMask = 0x000F;
constexpr uint16_t kContainerVersion = 0x000F;  // recVer of every container
constexpr uint16_t kRecordTypeMask = 0x0FFF;

// Containers.
constexpr uint16_t RT_Slide = 1006;                 // 0x03EE
constexpr uint16_t RT_SlideListWithText = 4080;     // 0x0FF0
constexpr uint16_t kClientTextboxMasked = 0x00D;    // 0xF00D, a shape's text
constexpr uint16_t kClientDataMasked = 0x011;       // 0xF011, a shape's data

// Text atoms.
constexpr uint16_t RT_TextCharsAtom = 4000;  // 0x0FA0, UTF-16LE
constexpr uint16_t RT_TextBytesAtom = 4008;  // 0x0FA8, 8-bit ANSI
constexpr uint16_t RT_CString = 4026;        // 0x0FBA, UTF-16LE

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_RECORD_TYPES_H_
