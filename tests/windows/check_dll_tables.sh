#!/usr/bin/env bash
# txtppt2.dll as the Windows loader sees it, from objdump -p: its export
# table names the module txtppt2.dll and holds exactly the 22 exports, by
# name and undecorated, FreeUpConverterTypes at InitializeConverterTypes'
# address; its import table names only DLLs that come with Windows (the C
# and C++ runtime and winpthread are linked in). The DLL must be built for
# the given bitness; a 32-bit DLL's exports must also be cdecl, the caller
# popping the arguments: no stdcall name decoration (Name@N), no leading
# underscore, and no export that returns with `ret $N`.
#
#   check_dll_tables.sh OBJDUMP DLL 32|64
set -euo pipefail
objdump=$1
dll=$2
bits=$3
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

case $bits in
  32) format=pei-i386 magic=PE32 ;;
  64) format=pei-x86-64 magic=PE32+ ;;
  *) echo "usage: $0 OBJDUMP DLL 32|64" >&2; exit 2 ;;
esac
[[ $(awk '/file format/ {print $NF; exit}' <<<"$dump") == "$format" &&
   $(awk '$1 == "Magic" {print $3; exit}' <<<"$dump") == "($magic)" ]] ||
  fail "$dll is not a $bits-bit DLL ($format, $magic)"

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

if ((bits == 32)); then
  decorated=$(grep -E '^_|@[0-9]+$' <<<"$exports" || true)
  [[ -z $decorated ]] ||
    fail "decorated export names (stdcall or a leading underscore): $(echo $decorated)"
  # Each export's code, up to the next export's, ends in a plain `ret`.
  image_base=$((16#$(awk '$1 == "ImageBase" {print $2; exit}' <<<"$dump")))
  rvas=$(awk '/^Export Address Table --/ {on = 1; next}
              on && /^[ \t]*$/ {on = 0}
              on {print $5}' <<<"$dump" | sort -u)
  for rva in $rvas; do
    start=$((image_base + 16#$rva))
    stop=$((start + 512))
    for other in $rvas; do
      ((image_base + 16#$other > start && image_base + 16#$other < stop)) &&
        stop=$((image_base + 16#$other))
    done
    first_ret=$("$objdump" -d --start-address=$start --stop-address=$stop "$dll" |
      awk '!found && /\tret/ {print; found = 1}')
    [[ $first_ret != *'ret '*'$'* ]] ||
      fail "the export at RVA $rva pops its own arguments (stdcall):$first_ret"
  done
fi

imports=$(awk '/^[ \t]*DLL Name: / {print $3}' <<<"$dump" | sort -u)
for import in $imports; do
  [[ " $allowed_imports " == *" $import "* ]] ||
    fail "imports $import, which does not come with Windows"
done

if ((failed)); then
  exit 1
fi
echo "txtppt2.dll ($bits-bit): exactly the 22 exports by name; imports $(echo $imports)"
