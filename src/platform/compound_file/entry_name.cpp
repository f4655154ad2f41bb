#include "platform/compound_file/entry_name.h"

namespace txtppt2 {

namespace {

// In Latin Extended-A most capitals and small letters alternate; whether
// the capital is the even or the odd unit changes from block to block.
char16_t UpcaseLatinExtendedA(char16_t unit) {
  if (unit == 0x0131) return u'I';  // dotless i
  if (unit == 0x017F) return u'S';  // long s
  bool evenCapitals =
      (unit >= 0x0100 && unit <= 0x0137) || (unit >= 0x014A && unit <= 0x0177);
  bool oddCapitals =
      (unit >= 0x0139 && unit <= 0x0148) || (unit >= 0x0179 && unit <= 0x017E);
  if (evenCapitals && unit % 2 == 1) return unit - 1;
  if (oddCapitals && unit % 2 == 0) return unit - 1;
  return unit;
}

}  // namespace

char16_t UpcaseNameUnit(char16_t unit) {
  if (unit < 0x80) return unit >= u'a' && unit <= u'z' ? unit - 0x20 : unit;
  if (unit < 0x100) {
    if (unit == 0x00B5) return 0x039C;  // micro sign
    if (unit == 0x00FF) return 0x0178;  // y with diaeresis
    if (unit >= 0x00E0 && unit != 0x00F7) return unit - 0x20;
    return unit;
  }
  if (unit < 0x180) return UpcaseLatinExtendedA(unit);
  if (unit >= 0x03AC && unit <= 0x03CE) {  // Greek small letters
    if (unit == 0x03AC) return 0x0386;
    if (unit <= 0x03AF) return unit - 0x25;
    if (unit == 0x03C2) return 0x03A3;  // final sigma
    if (unit >= 0x03B1 && unit <= 0x03CB) return unit - 0x20;
    if (unit == 0x03CC) return 0x038C;
    if (unit >= 0x03CD) return unit - 0x3F;
    return unit;
  }
  if (unit >= 0x0430 && unit <= 0x044F) return unit - 0x20;  // Cyrillic
  if (unit >= 0x0450 && unit <= 0x045F) return unit - 0x50;
  if (unit >= 0xFF41 && unit <= 0xFF5A) return unit - 0x20;  // full width
  return unit;
}

bool EntryNamesEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpcaseNameUnit(a[i]) != UpcaseNameUnit(b[i])) return false;
  return true;
}

}  // namespace txtppt2
