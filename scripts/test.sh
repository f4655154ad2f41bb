#!/usr/bin/env bash
# Builds txtppt2 and runs its whole test suite:
#   1. everything under AddressSanitizer and UndefinedBehaviorSanitizer;
#   2. the concurrency tests (label "concurrency") under ThreadSanitizer;
#   3. txtppt2.dll for Windows, cross-built with MinGW-w64 and tested under
#      Wine on Windows' own structured storage (scripts/test-windows.sh);
#   4. everything again in the release build, benchmarks built too.
# Does its own set-up on a fresh Debian machine: run as root, it installs
# what is missing (scripts/install-deps.sh, scripts/test-windows.sh).
#
# Tests that need the shared corpus (../shared) skip outside CI and fail in
# CI (CI=true) when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
configure_and_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DTXTPPT2_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

echo "== sanitizer build (address, undefined)"
configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug \
  -DTXTPPT2_SANITIZE=address,undefined
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# ThreadSanitizer slows everything down: only the concurrency tests run
# (the library's stress test, the command's threaded groups, and the
# fixtures they need).
echo "== thread sanitizer build (concurrency tests)"
configure_and_build build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTXTPPT2_SANITIZE=thread
ctest --test-dir build-tsan --output-on-failure -j"$jobs" -L concurrency

echo "== Windows build under Wine"
scripts/test-windows.sh

echo "== 32-bit builds: txtppt2.dll for 32-bit Windows, the suite at -m32"
scripts/test-x86.sh

# Last, so that the closing summary is that of the whole suite.
echo "== release build"
configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTXTPPT2_BUILD_BENCHMARKS=ON
ctest --test-dir build --output-on-failure -j"$jobs"
