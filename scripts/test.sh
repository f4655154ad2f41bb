#!/usr/bin/env bash
# Builds txtppt2 and runs its whole test suite: under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the ordinary build; and the concurrency
# tests (label "concurrency") under ThreadSanitizer. Does its own set-up on a
# fresh Debian machine (see scripts/install-deps.sh).
#
# Tests that need the shared corpus (../shared) skip outside CI and fail in
# CI (CI=true) when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
run_suite() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DTXTPPT2_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs"
}

echo "== sanitizer build (address, undefined)"
run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTXTPPT2_SANITIZE=address,undefined
echo "== release build"
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo

# ThreadSanitizer slows everything down: only the concurrency tests run
# (the library's stress test, the command's threaded groups, and the
# fixtures they need).
echo "== thread sanitizer build (concurrency tests)"
cmake -S . -B build-tsan -DTXTPPT2_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTXTPPT2_SANITIZE=thread >/dev/null
cmake --build build-tsan -j"$jobs"
ctest --test-dir build-tsan --output-on-failure -j"$jobs" -L concurrency
