// Comparison of directory entry names. Names match as the format compares
// them: case-insensitively, each UTF-16 unit folded to upper case.
#ifndef TXTPPT2_PLATFORM_COMPOUND_FILE_ENTRY_NAME_H_
#define TXTPPT2_PLATFORM_COMPOUND_FILE_ENTRY_NAME_H_

#include <string_view>

namespace txtppt2 {

// The simple upper-case form of one UTF-16 unit for the letters of ASCII,
// Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width Latin
// forms; any other unit is its own upper case.
char16_t UpcaseNameUnit(char16_t unit);

// Whether two entry names are equal once upper-cased unit by unit.
bool EntryNamesEqual(std::u16string_view a, std::u16string_view b);

}  // namespace txtppt2

#endif  // TXTPPT2_PLATFORM_COMPOUND_FILE_ENTRY_NAME_H_
