#!/usr/bin/env bash
# The shared library's dynamic symbol table must define exactly the 22
# exports of exports.txt (nothing of the C++ internals or the runtime), and
# its SONAME is libtxtppt2.so.2.
set -euo pipefail
library=$1
expected=$(sort "$(dirname "$0")/exports.txt")
actual=$(nm -D --defined-only "$library" | awk '{print $3}' | sed 's/@.*//' | grep -v '^$' | sort)
if [[ "$actual" != "$expected" ]]; then
  echo "the dynamic symbol table differs from the 22 exports:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
soname=$(objdump -p "$library" | awk '/SONAME/ {print $2}')
if [[ "$soname" != "libtxtppt2.so.2" ]]; then
  echo "SONAME is '$soname', not libtxtppt2.so.2"
  exit 1
fi
echo "exactly the 22 exports; SONAME $soname"
