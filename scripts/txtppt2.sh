#!/usr/bin/env bash
# Builds the txtppt2 command if needed and runs it with the given arguments:
#   scripts/txtppt2.sh examples/sample.ppt
# It first checks the Debian packages the build needs (scripts/install-deps.sh
# build): run as root it installs the missing ones; otherwise it prints the
# command that does and stops. The build goes to build-cli-release/; its
# messages and progress go to standard error, so that standard output holds
# only the command's own.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/progress.sh"
"$root/scripts/install-deps.sh" build

build="$root/build-cli-release"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  echo "txtppt2.sh: building the txtppt2 command in $build" \
    "(a first build takes 1 to 2 minutes on 2 cores)" >&2
  mkdir -p "$build"
  # make is what install-deps.sh installs, whatever CMAKE_GENERATOR says.
  run_with_progress "configuring" "$build/configure.log" \
    cmake -S "$root" -B "$build" -G "Unix Makefiles" \
    -DCMAKE_BUILD_TYPE=Release -DTXTPPT2_BUILD_TESTS=OFF
fi
# After the first build, this shows progress only when sources changed.
run_with_progress "building txtppt2" "$build/build.log" \
  cmake --build "$build" -j"$(nproc)" --target txtppt2_cli
exec "$build/cli/txtppt2" "$@"
