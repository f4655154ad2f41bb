#!/usr/bin/env bash
# txtppt2.dll as the Windows loader sees it, from objdump -p: the export
# table names the module txtppt2.dll and holds exactly the 22 exports, by
# name, FreeUpConverterTypes at InitializeConverterTypes' address; the import
# table names only DLLs that come with Windows; the version resource (read
# with the windres beside objdump) is linked in.
#
#   check_dll_tables.sh OBJDUMP DLL
set -euo pipefail
dump=$("$1" -p "$2")
expected="ConvertMemoryToPureText ConvertMemoryToUnicode ConvertToPureText
ConvertToPureTextW ConvertToUnicode ConvertToUnicodeW FreeUpConverterTypes
GetCompatibilityFlags GetConversionError GetDllInfo GetDllVersion
GetErrorCode GetOptionFlags GetType GetTypeDescription
InitializeConverterTypes IsFileSupported IsFileSupportedW IsFileTypeSupported
IsMemDataSupported ListSupportedTypes SetOptionFlags"
failed=0
fail() { echo "$1"; failed=1; }

name=$(awk '$1 == "Name" && NF == 3 {print $3; exit}' <<<"$dump")
[[ $name == txtppt2.dll ]] || fail "the export table names the module '$name'"
# "[Ordinal/Name Pointer] Table" lines: "\t[   n] Name"; the Export Address
# Table lines: "\t[   n] +base[   m] rva Export RVA", in ordinal order.
table=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {names = 1; next}
             /^Export Address Table --/ {rvas = 1; next}
             /^[ \t]*$/ {names = rvas = 0}
             names {gsub(/[\[\]]/, "", $2); print "name", $NF, $2 + 0}
             rvas {gsub(/[\[\]]/, "", $2); print "rva", $2 + 0, $5}' <<<"$dump")
exports=$(awk '$1 == "name" {print $2}' <<<"$table" | sort)
[[ $exports == "$(tr ' ' '\n' <<<"$expected" | sort)" && $(grep -c '^rva' <<<"$table") == 22 ]] ||
  fail "the exports differ from the 22 names: $(echo $exports)"
rva_of() {
  awk -v want="$1" '$1 == "name" && $2 == want {i = $3} $1 == "rva" {rva[$2] = $3}
                    END {print rva[i]}' <<<"$table"
}
[[ -n $(rva_of FreeUpConverterTypes) && $(rva_of FreeUpConverterTypes) == $(rva_of InitializeConverterTypes) ]] ||
  fail "FreeUpConverterTypes is not InitializeConverterTypes"
for import in $(awk '/^[ \t]*DLL Name: / {print $3}' <<<"$dump" | sort -u); do
  [[ " KERNEL32.dll msvcrt.dll ole32.dll " == *" $import "* ]] ||
    fail "imports $import, which does not come with Windows"
done
# The version resource: file version 2.0.4.420 of a DLL.
resources=$("${1%objdump}windres" -J coff -i "$2" -O rc 2>&1 || true)
[[ $resources == *"FILEVERSION 2, 0, 4, 420"*"FILETYPE 0x2"*'"OriginalFilename", "txtppt2.dll"'* ]] ||
  fail "no version resource of txtppt2.dll 2.0.4.420: $resources"
((failed == 0)) && echo "txtppt2.dll: exactly the 22 exports by name; imports from Windows only"
exit $failed
