#!/usr/bin/env bash
# txtppt2.dll as the Windows loader sees it (objdump -p): of the given
# bitness, named txtppt2.dll, exactly the 22 exports by name,
# FreeUpConverterTypes at InitializeConverterTypes' address, only DLLs that
# come with Windows imported, a version resource (windres beside objdump);
# at 32 bits every export cdecl: no Name@N or leading underscore, no `ret $N`.
#
#   check_dll_tables.sh OBJDUMP DLL 32|64
set -euo pipefail
objdump=$1
dll=$2
bits=$3
dump=$("$objdump" -p "$dll")

expected=$(sort "$(dirname "$0")/../host/exports.txt")
failed=0
fail() { echo "$1"; failed=1; }

case $bits in
  32) format=pei-i386 magic=PE32 ;;
  64) format=pei-x86-64 magic=PE32+ ;;
  *) echo "usage: $0 OBJDUMP DLL 32|64" >&2; exit 2 ;;
esac
[[ $(awk '/file format/ {print $NF; exit}' <<<"$dump") == "$format" &&
   $(awk '$1 == "Magic" {print $3; exit}' <<<"$dump") == "($magic)" ]] ||
  fail "$dll is not a $bits-bit DLL ($format, $magic)"

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
[[ $exports == "$expected" && $(grep -c '^rva' <<<"$table") == 22 ]] ||
  fail "the exports differ from the 22 names: $(echo $exports)"
rva_of() {
  awk -v want="$1" '$1 == "name" && $2 == want {i = $3} $1 == "rva" {rva[$2] = $3}
                    END {print rva[i]}' <<<"$table"
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
  [[ " KERNEL32.dll msvcrt.dll ole32.dll " == *" $import "* ]] ||
    fail "imports $import, which does not come with Windows"
done

# The version resource: file version 2.0.4.420 of a DLL.
resources=$("${objdump%objdump}windres" -J coff -i "$dll" -O rc 2>&1 || true)
[[ $resources == *"FILEVERSION 2, 0, 4, 420"*"FILETYPE 0x2"*'"OriginalFilename", "txtppt2.dll"'* ]] ||
  fail "no version resource of txtppt2.dll 2.0.4.420: $resources"

((failed == 0)) || exit 1
echo "txtppt2.dll ($bits-bit): exactly the 22 exports by name; imports $(echo $imports)"
