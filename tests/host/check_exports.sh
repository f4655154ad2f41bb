#!/usr/bin/env bash
# The shared library's dynamic symbol table must define exactly the 22
# exports of exports.txt: nothing of the C++ internals or the runtime. (The
# SONAME is checked on the installed library.)
set -euo pipefail
expected=$(sort "$(dirname "$0")/exports.txt")
actual=$(nm -D --defined-only "$1" | awk '{print $3}' | sed 's/@.*//' | grep -v '^$' | sort)
if [[ "$actual" != "$expected" ]]; then
  echo "the dynamic symbol table differs from the 22 exports:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "exactly the 22 exports"
