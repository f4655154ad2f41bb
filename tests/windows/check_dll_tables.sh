#!/usr/bin/env bash
# txtppt2.dll as the Windows loader sees it, from objdump -p: its export
# table names the module txtppt2.dll and holds exactly the 22 exports, by
# name and undecorated, FreeUpConverterTypes at InitializeConverterTypes'
# address; its import table names only DLLs that come with Windows (the C
# and C++ runtime and winpthread are linked in).
#
#   check_dll_tables.sh OBJDUMP DLL
set -euo pipefail
objdump=$1
dll=$2
dump=$("$objdump" -p "$dll")

expected_exports="ConvertMemoryToPureText ConvertMemoryToUnicode ConvertToPureText
ConvertToPureTextW ConvertToUnicode ConvertToUnicodeW FreeUpConverterTypes
GetCompatibilityFlags GetConversionError GetDllInfo GetDllVersion
GetErrorCode GetOptionFlags GetType GetTypeDescription
InitializeConverterTypes IsFileSupported IsFileSupportedW IsFileTypeSupported
IsMemDataSupported ListSupportedTypes SetOptionFlags"
# Windows' own DLLs; msvcrt.dll is the C library every Windows has.
allowed_imports="KERNEL32.dll msvcrt.dll ole32.dll"

failed=0
fail() {
  echo "$1"
  failed=1
}

name=$(awk '$1 == "Name" && NF == 3 {print $3; exit}' <<<"$dump")
[[ $name == txtppt2.dll ]] || fail "the export table names the module '$name', not txtppt2.dll"

# [Ordinal/Name Pointer] Table: "\t[   n] Name", one line per named export.
exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {on = 1; next}
               on && /^[ \t]*$/ {on = 0}
               on {print $NF}' <<<"$dump" | sort)
if [[ $exports != "$(tr ' ' '\n' <<<"$expected_exports" | sort)" ]]; then
  fail "the exports differ from the 22 names:"
  diff <(tr ' ' '\n' <<<"$expected_exports" | sort) <(echo "$exports") || true
fi
address_count=$(awk '/^\tExport Address Table[ \t]+[0-9a-f]+$/ {print $NF; exit}' <<<"$dump")
[[ $((16#${address_count:-0})) == 22 ]] ||
  fail "the export address table has $((16#${address_count:-0})) entries, not 22 (exports by ordinal only?)"

# Export Address Table: "\t[   n] +base[   m] rva Export RVA", in ordinal
# order; the name table maps names to the same ordinals in name order.
rva_of() {
  awk -v want="$1" '
    /^\[Ordinal\/Name Pointer\] Table/ {names = 1; next}
    names && /^[ \t]*$/ {names = 0}
    names && $NF == want {gsub(/[\[\]]/, "", $2); index_of = $2 + 0}
    /^Export Address Table --/ {rvas = 1; next}
    rvas && /^[ \t]*$/ {rvas = 0}
    rvas {gsub(/[\[\]]/, "", $2); rva[$2 + 0] = $5}
    END {print rva[index_of]}' <<<"$dump"
}
free_up=$(rva_of FreeUpConverterTypes)
initialize=$(rva_of InitializeConverterTypes)
[[ -n $free_up && $free_up == "$initialize" ]] ||
  fail "FreeUpConverterTypes (RVA $free_up) is not InitializeConverterTypes (RVA $initialize)"

imports=$(awk '/^[ \t]*DLL Name: / {print $3}' <<<"$dump" | sort -u)
for import in $imports; do
  [[ " $allowed_imports " == *" $import "* ]] ||
    fail "imports $import, which does not come with Windows"
done

if ((failed)); then
  exit 1
fi
echo "txtppt2.dll: exactly the 22 exports by name; imports $(echo $imports)"
