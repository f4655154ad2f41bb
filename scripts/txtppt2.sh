#!/usr/bin/env bash
# Builds the txtppt2 command if needed and runs it with the given arguments:
#   scripts/txtppt2.sh examples/sample.ppt
# Does its own set-up on a fresh Debian machine (see scripts/install-deps.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" build
build="$root/build-cli-release"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DTXTPPT2_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target txtppt2_cli >/dev/null
exec "$build/cli/txtppt2" "$@"
